#include "app/frmSobre.h"

#include "app/Icones.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

frmSobre::frmSobre(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Sobre a Vo$sal"));

    auto* logo = new QLabel(this);
    logo->setPixmap(logoVorsal(96));
    auto* nome = new QLabel(QStringLiteral("Vo$sal"), this);
    QFont f = nome->font();
    f.setPointSize(f.pointSize() + 10);
    f.setBold(true);
    nome->setFont(f);

    lblCreditos = new QLabel(QStringLiteral("Programa desenvolvido por: Equipe Vorsal - contato@vorsal.example"), this);
    lblVersao = new QLabel(QStringLiteral("Versão: 042024"), this);
    lblDistribuicao = new QLabel(QStringLiteral("Distribuido de forma gratuita!"), this);

    auto* topo = new QHBoxLayout;
    topo->addWidget(logo);
    topo->addWidget(nome, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(lblCreditos);
    layout->addWidget(lblVersao);
    layout->addWidget(lblDistribuicao);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
