#include "app/Icones.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kLado = 32;

QPixmap tela()
{
    QPixmap p(kLado, kLado);
    p.fill(Qt::transparent);
    return p;
}

// A rounded tile in the icon's colour, under the glyph.
void ladrilho(QPainter& g, const QColor& cor)
{
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(cor.darker(140), 1));
    g.setBrush(cor);
    g.drawRoundedRect(QRectF(1.5, 1.5, kLado - 3, kLado - 3), 6, 6);
}

QPen traco(qreal largura = 2.2, const QColor& cor = Qt::white)
{
    return QPen(cor, largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void calendario(QPainter& g, bool anual)
{
    g.setPen(traco(1.6));
    g.setBrush(Qt::NoBrush);
    g.drawRect(QRectF(7, 8, 18, 17));
    g.drawLine(QPointF(7, 12.5), QPointF(25, 12.5));
    g.drawLine(QPointF(11, 6), QPointF(11, 9));
    g.drawLine(QPointF(21, 6), QPointF(21, 9));
    g.setBrush(Qt::white);
    g.setPen(Qt::NoPen);
    const int colunas = anual ? 4 : 3;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < colunas; ++c)
            g.drawRect(QRectF(9 + c * (anual ? 4 : 5.3), 15 + r * 3.3, 2, 2));
}

void desenhar(QPainter& g, QChar key)
{
    switch (key.toLatin1()) {
    case 'A':  // plan of classifications: a small tree
        ladrilho(g, QColor(46, 125, 50));
        g.setPen(traco(1.8));
        g.drawLine(QPointF(9, 8), QPointF(9, 24));
        g.drawLine(QPointF(9, 13), QPointF(15, 13));
        g.drawLine(QPointF(9, 22), QPointF(15, 22));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(15, 11, 9, 4));
        g.drawRect(QRectF(15, 20, 9, 4));
        g.drawRect(QRectF(6, 5.5, 6, 3));
        break;
    case 'B': {  // statement import: an arrow into a tray
        ladrilho(g, QColor(2, 119, 189));
        g.setPen(traco());
        g.drawLine(QPointF(16, 6), QPointF(16, 19));
        g.drawLine(QPointF(11, 14), QPointF(16, 19));
        g.drawLine(QPointF(21, 14), QPointF(16, 19));
        QPainterPath bandeja;
        bandeja.moveTo(7, 19);
        bandeja.lineTo(7, 25);
        bandeja.lineTo(25, 25);
        bandeja.lineTo(25, 19);
        g.drawPath(bandeja);
        break;
    }
    case 'C':  // posting: a pencil over a line
        ladrilho(g, QColor(239, 108, 0));
        g.setPen(traco(4.0));
        g.drawLine(QPointF(10, 21), QPointF(22, 9));
        g.setPen(traco(1.5));
        g.drawLine(QPointF(7, 25), QPointF(25, 25));
        g.setBrush(Qt::white);
        g.drawPolygon(QPolygonF({QPointF(7.5, 24), QPointF(8.5, 19.5), QPointF(12, 23)}));
        break;
    case 'D':  // query by description: a magnifier over text lines
        ladrilho(g, QColor(106, 27, 154));
        g.setPen(traco(1.4));
        for (int i = 0; i < 3; ++i)
            g.drawLine(QPointF(6, 8 + i * 4), QPointF(15, 8 + i * 4));
        g.setPen(traco(2.2));
        g.setBrush(Qt::NoBrush);
        g.drawEllipse(QPointF(17, 16), 5.5, 5.5);
        g.drawLine(QPointF(21, 20), QPointF(26, 25));
        break;
    case 'E':  // query by date
        ladrilho(g, QColor(0, 131, 143));
        calendario(g, false);
        break;
    case 'F':  // structured query: a grid
        ladrilho(g, QColor(69, 90, 100));
        g.setPen(traco(1.5));
        g.setBrush(Qt::NoBrush);
        g.drawRect(QRectF(6, 7, 20, 18));
        g.drawLine(QPointF(6, 13), QPointF(26, 13));
        g.drawLine(QPointF(6, 19), QPointF(26, 19));
        g.drawLine(QPointF(13, 7), QPointF(13, 25));
        break;
    case 'G':  // cash flow: a running line
        ladrilho(g, QColor(0, 121, 107));
        g.setPen(traco(1.4));
        g.drawLine(QPointF(6, 25), QPointF(26, 25));
        g.drawLine(QPointF(6, 25), QPointF(6, 6));
        g.setPen(traco(2.2, QColor(255, 241, 118)));
        g.drawPolyline(QPolygonF({QPointF(7, 21), QPointF(12, 15), QPointF(16, 18), QPointF(20, 10),
                                  QPointF(25, 13)}));
        break;
    case 'H': {  // charts: a pie
        ladrilho(g, QColor(194, 24, 91));
        g.setPen(traco(1.2));
        g.setBrush(QColor(255, 205, 210));
        g.drawEllipse(QRectF(6, 6, 20, 20));
        g.setBrush(Qt::white);
        g.drawPie(QRectF(6, 6, 20, 20), 90 * 16, -110 * 16);
        break;
    }
    case 'I': {  // notes: a page with a folded corner
        ladrilho(g, QColor(249, 168, 37));
        QPainterPath folha;
        folha.moveTo(8, 5);
        folha.lineTo(20, 5);
        folha.lineTo(25, 10);
        folha.lineTo(25, 27);
        folha.lineTo(8, 27);
        folha.closeSubpath();
        g.setPen(QPen(QColor(120, 80, 0), 1.2));
        g.setBrush(Qt::white);
        g.drawPath(folha);
        g.setPen(QPen(QColor(120, 80, 0), 1.4));
        for (int i = 0; i < 3; ++i)
            g.drawLine(QPointF(11, 13 + i * 4), QPointF(22, 13 + i * 4));
        break;
    }
    case 'J':  // leave: a power sign
        ladrilho(g, QColor(198, 40, 40));
        g.setPen(traco(2.6));
        g.setBrush(Qt::NoBrush);
        g.drawArc(QRectF(8, 8, 16, 16), 120 * 16, 300 * 16);
        g.drawLine(QPointF(16, 6), QPointF(16, 15));
        break;
    case 'K':  // yearly reminder calendar
        ladrilho(g, QColor(57, 73, 171));
        calendario(g, true);
        break;
    case 'L':  // bulk change: two opposite arrows
        ladrilho(g, QColor(93, 64, 55));
        g.setPen(traco(2.0));
        g.drawLine(QPointF(7, 11), QPointF(24, 11));
        g.drawLine(QPointF(20, 7), QPointF(24, 11));
        g.drawLine(QPointF(20, 15), QPointF(24, 11));
        g.drawLine(QPointF(8, 21), QPointF(25, 21));
        g.drawLine(QPointF(12, 17), QPointF(8, 21));
        g.drawLine(QPointF(12, 25), QPointF(8, 21));
        break;
    case 'M':  // financial calculator
        ladrilho(g, QColor(84, 110, 122));
        g.setPen(QPen(Qt::white, 1.2));
        g.setBrush(QColor(200, 230, 201));
        g.drawRect(QRectF(8, 6, 16, 6));
        g.setBrush(Qt::white);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                g.drawRect(QRectF(8.5 + c * 5.5, 14 + r * 4.3, 3.5, 2.8));
        break;
    case 'N':  // planned versus actual: two pairs of bars
        ladrilho(g, QColor(40, 53, 147));
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(144, 202, 249));
        g.drawRect(QRectF(7, 12, 4, 13));
        g.drawRect(QRectF(18, 9, 4, 16));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(11.5, 15, 4, 10));
        g.drawRect(QRectF(22.5, 13, 4, 12));
        break;
    case 'O': {  // household budget: a house with a coin
        ladrilho(g, QColor(85, 139, 47));
        g.setPen(traco(1.8));
        g.setBrush(Qt::NoBrush);
        g.drawPolyline(QPolygonF({QPointF(6, 16), QPointF(16, 7), QPointF(26, 16)}));
        g.drawPolyline(QPolygonF({QPointF(9, 14), QPointF(9, 25), QPointF(23, 25), QPointF(23, 14)}));
        g.setBrush(QColor(255, 213, 79));
        g.setPen(QPen(QColor(255, 213, 79).darker(150), 1));
        g.drawEllipse(QPointF(16, 19.5), 3.8, 3.8);
        break;
    }
    default:
        ladrilho(g, Qt::gray);
        break;
    }
}

} // namespace

QIcon iconeBarra(const QString& key)
{
    QPixmap p = tela();
    QPainter g(&p);
    desenhar(g, key.isEmpty() ? QChar() : key.at(0));
    g.end();
    return QIcon(p);
}

QPixmap logoVorsal(int tamanho)
{
    QPixmap p(tamanho, tamanho);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const qreal s = tamanho / 48.0;
    g.scale(s, s);
    g.setPen(QPen(QColor(255, 213, 79).darker(130), 2));
    g.setBrush(QColor(255, 213, 79));
    g.drawEllipse(QRectF(3, 3, 42, 42));
    g.setPen(QPen(QColor(31, 58, 95), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(14, 14), QPointF(24, 35), QPointF(34, 14)}));
    g.setPen(QPen(QColor(31, 58, 95), 2.2, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(24, 8), QPointF(24, 40));
    return p;
}

QIcon iconeVorsal()
{
    // Drawn at each size a window decoration or task list asks for, rather
    // than scaled from one.
    QIcon icone;
    for (const int lado : {16, 24, 32, 48, 64, 128, 256})
        icone.addPixmap(logoVorsal(lado));
    return icone;
}

QIcon iconeOk()
{
    QPixmap p = tela();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(46, 125, 50), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(7, 17), QPointF(13, 23), QPointF(25, 9)}));
    g.end();
    return QIcon(p);
}
