#include "budget/MesOrcamento.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/PrevistoRealizado.h"
#include "platform/Accessibility.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace budget {

QString cabecalhoMes(const QDate& dia) { return platform::formatDate(dia, QStringLiteral("mmmm - yyyy")).toUpper(); }

QDate primeiroDiaDoMes(const QDate& dia) { return QDate(dia.year(), dia.month(), 1); }

QDate ultimoDiaDoMes(const QDate& dia) { return primeiroDiaDoMes(dia).addMonths(1).addDays(-1); }

void mostrarMes(QLabel* rotulo, const QDate& dia)
{
    rotulo->setProperty("Tag", platform::fmtDate(dia));
    rotulo->setText(cabecalhoMes(dia));
}

QDate mesDoRotulo(const QLabel* rotulo) { return platform::parseDate(rotulo->property("Tag").toString()); }

void avancarMes(QLabel* rotulo, int meses) { mostrarMes(rotulo, primeiroDiaDoMes(mesDoRotulo(rotulo)).addMonths(meses)); }

QColor corDaLinha(int row) { return row % 2 == 1 ? QColor(243, 243, 243) : QColor(174, 202, 222); }

void recomecarGrade(platform::FlexGrid* grade, const QString& cabecalho, const QStringList& maiores, int linhas)
{
    grade->Clear();
    grade->setRows(linhas);
    grade->FormatString(cabecalho, maiores);
}

QLabel* rotuloDeValor(QWidget* pai, const QString& maior)
{
    auto* l = new QLabel(QStringLiteral("0,00"), pai);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    platform::showsResult(*l, maior);
    return l;
}

bool excluirVigiada(platform::FlexGrid* grade)
{
    const int r = grade->Row();
    qint64 codigo = 0;
    if (r < 1 || !platform::parseWholeNumber(grade->TextMatrix(r, 0), codigo))
        return false;
    const int resposta = platform::MsgBox(app::perguntaExcluir(grade->TextMatrix(r, 1) + QStringLiteral(" R$ ") +
                                                                 grade->TextMatrix(r, 2)),
                                          platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                                          app::kConfirmacao);
    if (resposta != platform::vbYes)
        return false;
    data::deletePrevisto(ConexaoBanco, codigo);
    return true;
}

namespace {

QPixmap tela(int lado)
{
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    return p;
}

} // namespace

QPixmap setaVerde(bool paraDireita, int lado)
{
    QPixmap p = tela(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const qreal l = lado;
    g.setPen(QPen(QColor(27, 94, 32), 1));
    g.setBrush(QColor(67, 160, 71));
    g.drawEllipse(QRectF(1, 1, l - 2, l - 2));
    QPainterPath seta;
    if (paraDireita) {
        seta.moveTo(l * 0.38, l * 0.25);
        seta.lineTo(l * 0.72, l * 0.5);
        seta.lineTo(l * 0.38, l * 0.75);
    } else {
        seta.moveTo(l * 0.62, l * 0.25);
        seta.lineTo(l * 0.28, l * 0.5);
        seta.lineTo(l * 0.62, l * 0.75);
    }
    seta.closeSubpath();
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawPath(seta);
    return p;
}

QPixmap rosto(Rosto expressao, int lado)
{
    QPixmap p = tela(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const qreal l = lado;
    g.setPen(QPen(QColor(150, 110, 0), 1.2));
    g.setBrush(QColor(255, 214, 0));
    g.drawEllipse(QRectF(1, 1, l - 2, l - 2));
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::black);
    g.drawEllipse(QPointF(l * 0.35, l * 0.38), l * 0.06, l * 0.08);
    g.drawEllipse(QPointF(l * 0.65, l * 0.38), l * 0.06, l * 0.08);
    g.setPen(QPen(Qt::black, l * 0.06, Qt::SolidLine, Qt::RoundCap));
    g.setBrush(Qt::NoBrush);
    const QRectF boca(l * 0.28, l * 0.5, l * 0.44, l * 0.28);
    switch (expressao) {
    case Rosto::Igual:
        g.drawLine(QPointF(l * 0.3, l * 0.68), QPointF(l * 0.7, l * 0.68));
        break;
    case Rosto::Positivo:
        g.drawArc(boca, 200 * 16, 140 * 16);
        break;
    case Rosto::Negativo:
        g.drawArc(boca.translated(0, l * 0.17), 20 * 16, 140 * 16);
        break;
    }
    return p;
}

QPixmap interrogacao(int lado)
{
    QPixmap p = tela(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QFont f = g.font();
    f.setBold(true);
    f.setPixelSize(int(lado * 0.9));
    g.setFont(f);
    g.setPen(QPen(QColor(120, 90, 0), 1));
    QPainterPath marca;
    marca.addText(0, 0, f, QStringLiteral("?"));
    const QRectF r = marca.boundingRect();
    marca.translate((lado - r.width()) / 2 - r.left(), (lado - r.height()) / 2 - r.top());
    g.setBrush(QColor(255, 214, 0));
    g.drawPath(marca);
    return p;
}

Figura::Figura(const QPixmap& imagem, QWidget* parent) : QLabel(parent)
{
    setPixmap(imagem);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(imagem.size());
}

void Figura::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

JanelaDoMes::JanelaDoMes(QWidget* parent) : Form(parent)
{
    imgDiminui = new Figura(setaVerde(false), this);
    imgDiminui->setToolTip(QStringLiteral("Mês anterior"));
    txtData = new QLabel(this);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(14);
    arial.setBold(true);
    txtData->setFont(arial);
    txtData->setAlignment(Qt::AlignCenter);
    txtData->setMinimumWidth(QFontMetrics(arial).horizontalAdvance(QStringLiteral("SETEMBRO - 0000")) + 16);
    imgAumenta = new Figura(setaVerde(true), this);
    imgAumenta->setToolTip(QStringLiteral("Próximo mês"));

    connect(imgAumenta, &Figura::clicked, this, [this] { imgAumenta_Click(); });
    connect(imgDiminui, &Figura::clicked, this, [this] { imgDiminui_Click(); });
}

void JanelaDoMes::Form_Load()
{
    mostrarMes(txtData, platform::Today());
    Atualiza();
}

void JanelaDoMes::imgAumenta_Click()
{
    avancarMes(txtData, 1);
    Atualiza();
}

void JanelaDoMes::imgDiminui_Click()
{
    avancarMes(txtData, -1);
    Atualiza();
}

} // namespace budget
