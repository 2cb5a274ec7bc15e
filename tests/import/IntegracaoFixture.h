#pragma once
// An account with a few entries, the import window, and statement files
// written into a folder of drive C.
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "import/frmIntegracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class IntegracaoFixture : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    static frmIntegracao& janela() { return platform::Forms::get<frmIntegracao>(); }

    static std::int64_t codigo(const QString& nome) { return data::classificacaoPorNome(ConexaoBanco, nome)->codigo; }

    static std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& vencimento,
                               const QString& despesa = QString())
    {
        data::Lancamento l;
        l.dataVen = vencimento;
        l.dataLan = vencimento;
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor > 0 ? data::kTipoEntrada : data::kTipoSaida;
        l.despesa = despesa.isEmpty()
                        ? QString::number(codigo(valor > 0 ? QStringLiteral("Salário") : QStringLiteral("Supermercado")))
                        : despesa;
        l.filtro = QStringLiteral("A");
        return data::addLancamento(ConexaoBanco, l);
    }

    static qint64 contarLancamentos()
    {
        return data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toLongLong();
    }

    // The statements folder "C:\Extratos" as a local folder (created).
    QString pastaExtratos() const
    {
        const QString pasta = QDir(qEnvironmentVariable("VORSAL_DRIVES")).filePath(QStringLiteral("C/Extratos"));
        QDir().mkpath(pasta);
        return pasta;
    }

    void escreverArquivo(const QString& nome, const QString& texto) const
    {
        QFile f(QDir(pastaExtratos()).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(texto.toUtf8());
    }

    // Types the folder, chooses the layout and the file, and reads it.
    static void lerExtrato(const QString& layout, const QString& arquivo)
    {
        frmIntegracao& f = janela();
        f.txtCaminho->setText(QStringLiteral("C:\\Extratos"));
        f.txtCaminho_LostFocus();
        f.cbxBancos->setCurrentText(layout);
        const auto achados = f.lstExtratos->findItems(arquivo, Qt::MatchExactly);
        ASSERT_EQ(achados.size(), 1) << arquivo.toStdString();
        f.lstExtratos->setCurrentItem(achados.front());
        f.cmdImportar_Click();
    }

    // An ITAÚ statement: date;history;amount per line.
    void lerItau(const QStringList& linhas, const QString& arquivo = QStringLiteral("itau.txt"))
    {
        escreverArquivo(arquivo, linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        lerExtrato(QStringLiteral("ITAÚ"), arquivo);
    }

    static QStringList linhaDoExtrato(int row)
    {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            out << janela().flxExtrato->TextMatrix(row, c);
        return out;
    }

    static QStringList coluna(platform::FlexGrid* grade, int col)
    {
        QStringList out;
        for (int r = 1; r < grade->Rows(); ++r)
            out << grade->TextMatrix(r, col);
        return out;
    }
};
