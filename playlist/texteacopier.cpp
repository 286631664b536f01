#include "playlist/texteacopier.h"

#include <QTextEdit>

texteACopier::texteACopier(const QString &texte)
    : zoneTexte(new QTextEdit(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Copiez le script avec CTRL+C"));
    setFixedSize(500, 400);
    // Plain text: the snippet's markup is shown, never interpreted.
    zoneTexte->setPlainText(texte);
    zoneTexte->setFixedSize(500, 400);
    zoneTexte->selectAll();
    // No menu: the title tells the user to copy with the keyboard.
    zoneTexte->setContextMenuPolicy(Qt::NoContextMenu);
}

texteACopier::~texteACopier() = default;
