#pragma once

#include <QValidator>

// Accepts the port numbers 1 to 65535 and refuses, while the user types, anything that can
// no longer become one (letters, or a number above 65535 such as 70000). An empty field is
// allowed while typing.
class PortValidator final : public QValidator
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortValidator)
public:
    explicit PortValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};
