#pragma once

#include <QWidget>

class QTextEdit;

// A small window showing a player snippet, all of it selected, ready to be copied with the keyboard.
class texteACopier final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(texteACopier)
public:
    explicit texteACopier(const QString &texte);
    ~texteACopier() override;

private:
    QTextEdit *zoneTexte = nullptr;
};
