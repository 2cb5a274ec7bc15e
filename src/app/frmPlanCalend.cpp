#include "app/frmPlanCalend.h"

#include "app/Textos.h"
#include "app/frmAnotacao.h"
#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "platform/formats.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
const char* const kMeses[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                              "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
} // namespace

frmPlanCalend::frmPlanCalend(QWidget* parent) : platform::Form(parent)
{
    setWindowTitle(QStringLiteral("Calendário Anual de Lembretes"));

    txtAno = new QLineEdit(this);
    txtAno->setMaxLength(4);
    txtAno->setMaximumWidth(70);
    // Pasted text obeys the same rule as typed characters.
    txtAno->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), txtAno));
    txtAno->installEventFilter(this);

    auto* topo = new QHBoxLayout;
    topo->addWidget(new QLabel(QStringLiteral("ANO:"), this));
    topo->addWidget(txtAno);
    topo->addStretch();

    auto* meses = new QGridLayout;
    for (int m = 1; m <= 12; ++m) {
        auto* lista = new QListWidget(this);
        lista->setStyleSheet(QStringLiteral("QListWidget { color: #0000FF; background-color: #FFFFC0; }"));
        lista->setMinimumSize(230, 120);
        // On a short screen a month shows four reminders and scrolls.
        platform::givesWay(*lista, lista->fontMetrics().lineSpacing() * 4 + 6);
        txtMes[size_t(m)] = lista;
        auto* coluna = new QVBoxLayout;
        coluna->addWidget(new QLabel(QString::fromUtf8(kMeses[m - 1]), this));
        coluna->addWidget(lista);
        meses->addLayout(coluna, (m - 1) / 3, (m - 1) % 3);
        connect(lista, &QListWidget::itemDoubleClicked, this, [this, m] { txtMes_DblClick(m); });
        platform::openListRowOnKey(*lista, app::kAbrirAnotacao);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addLayout(meses, 1);
    resize(780, 640);
}

void frmPlanCalend::Form_Load()
{
    txtAno->setText(QString::number(platform::Today().year()).rightJustified(4, QLatin1Char('0')));
    AtulizaCalen();
}

bool frmPlanCalend::txtAno_KeyPress(const QString& text)
{
    // Keys that type no character (arrows, Tab, Escape, Backspace) keep
    // their meaning.
    if (text.isEmpty() || !text.front().isPrint())
        return true;
    return text.front() >= QLatin1Char('0') && text.front() <= QLatin1Char('9');
}

void frmPlanCalend::txtAno_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        AtulizaCalen();
}

void frmPlanCalend::txtMes_DblClick(int index)
{
    if (index < 1 || index > 12)
        return;
    QListWidgetItem* linha = txtMes[size_t(index)]->currentItem();
    if (!linha)
        return;
    // The line's own number: two notes may share a title.
    const auto codigo = linha->data(Qt::UserRole).toLongLong();
    if (codigo == 0)
        return;
    platform::Forms::get<frmAnotacao>().txtCodigo->setText(QString::number(codigo));
    Unload();
    platform::Forms::show<frmAnotacao>();
}

bool frmPlanCalend::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtAno && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            txtAno_KeyDown(key->key());
            return true;
        }
        if (!txtAno_KeyPress(key->text()))
            return true;
    }
    return platform::Form::eventFilter(watched, event);
}

void frmPlanCalend::AtulizaCalen()
{
    if (txtAno->text().size() != 4) {
        platform::MsgBox(QStringLiteral("Digite quatro dígitos para o ano!"),
                         platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        return;
    }
    for (int m = 1; m <= 12; ++m)
        txtMes[size_t(m)]->clear();
    for (const auto& nota : data::anotacoesDoAno(ConexaoBanco, txtAno->text().toInt())) {
        if (!nota.dataLemb.isValid())
            continue;
        auto* linha = new QListWidgetItem(linhaDoMes(nota.dataLemb, nota.titulo));
        linha->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(nota.codigo));
        txtMes[size_t(nota.dataLemb.month())]->addItem(linha);
    }
}

QString frmPlanCalend::linhaDoMes(const QDate& dataLemb, const QString& titulo)
{
    return platform::formatDate(dataLemb, QStringLiteral("DD (ddd) - ")) + titulo;
}
