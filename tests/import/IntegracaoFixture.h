#pragma once
// An account with a few entries, the import window, and statement files
// written into a folder of drive C.
#include "Janelas.h"
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

#include <functional>

class IntegracaoFixture : public testsupport::LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
    }

    static frmIntegracao& janela() { return platform::Forms::get<frmIntegracao>(); }

    // An entry without a group; 0 counts as outgoing.
    static std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& vencimento,
                               const QString& despesa = QString())
    {
        data::Lancamento l = novoLancamento(
            vencimento, referente, valor,
            despesa.isEmpty() ? QString::number(codigo(valor > 0 ? QStringLiteral("Salário") : QStringLiteral("Supermercado")))
                              : despesa);
        l.tipo = valor > 0 ? data::kTipoEntrada : data::kTipoSaida;
        return gravar(l);
    }

    static qint64 contarLancamentos() { return contar(QStringLiteral("Lancamentos")); }

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

    // A double-click on a statement row: loads its line into the frame.
    static void carregar(int row)
    {
        janela().flxExtrato->setRow(row);
        janela().flxExtrato_DblClick();
    }

    // Classifies a line as the user does: loads it, chooses the name and
    // presses "&Alterar".
    static void classificar(int row, const QString& nome)
    {
        carregar(row);
        janela().txtDespesas->setCurrentText(nome);
        ASSERT_EQ(janela().txtDespesas->currentText(), nome);
        janela().cmdAltera_Click();
    }

    // Changes a line behind the statement grid directly, for what the frame
    // cannot make (a name in other letter case, a name of the other side).
    static void mudarLinha(int row, const std::function<void(importacao::LinhaExtrato&)>& mudar)
    {
        std::vector<importacao::LinhaExtrato> linhas = janela().linhasDoExtrato();
        mudar(linhas.at(size_t(row) - 1));
        janela().mostrarLinhasDoExtrato(std::move(linhas));
    }

    static QStringList linhaDoExtrato(int row)
    {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            out << janela().flxExtrato->TextMatrix(row, c);
        return out;
    }
};
