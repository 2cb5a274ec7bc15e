#pragma once
// The key filter of the boxes that take an amount or a number with the
// decimal comma: digits, Backspace and Enter pass; "." becomes "," while the
// box holds no comma and is dropped otherwise; a second "," is dropped; every
// other character is dropped. Keys that type nothing (arrows, Delete, Tab)
// pass; the clipboard's keys are dropped so nothing gets around the filter.
#include <QObject>
#include <QString>

class QLineEdit;

namespace platform {

class NumberKeyFilter : public QObject {
    Q_OBJECT
public:
    // extra: characters also allowed, each at most once in the box ("*").
    NumberKeyFilter(QLineEdit* box, const QString& extra = QString());

    // Applies the filter to one typed character; true when the box should
    // receive it as it is (a "." is inserted as "," here and returns false).
    bool accept(const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    QString extra_;
};

} // namespace platform
