#include "controls/opc_entrada.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>
#include <cmath>

#include "controls/keyboard_classes.h"
#include "core/format.h"

namespace torvane {

namespace {

// The field of a window that is taking the focus back after a failed check; the
// window's other fields do not validate while it does, so two bad fields cannot
// bounce the focus. Kept by the window, in a child object made the first time.
QPointer<OpcEntrada>& returningField(QWidget* field) {
    class Holder : public QObject {
      public:
        using QObject::QObject;
        QPointer<OpcEntrada> field;
    };
    const QString name = QStringLiteral("returningField");
    QWidget* window = field->window();
    auto* holder =
        static_cast<Holder*>(window->findChild<QObject*>(name, Qt::FindDirectChildrenOnly));
    if (!holder) {
        holder = new Holder(window);
        holder->setObjectName(name);
    }
    return holder->field;
}

bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// A number the way messages show it: "0", "2147483647", "1,5".
QString numberText(double v) {
    return QString::number(v, 'g', 15).replace('.', ',');
}

// The leading number of a text, as Val() reads it ("12,5" and "12.5" alike).
double valueOf(const QString& text) {
    QString s = text.trimmed();
    s.replace(',', '.');
    int end = 0;
    if (end < s.size() && (s[end] == '-' || s[end] == '+')) ++end;
    bool point = false;
    while (end < s.size() && (isDigit(s[end]) || (s[end] == '.' && !point))) {
        if (s[end] == '.') point = true;
        ++end;
    }
    bool ok = false;
    const double v = s.left(end).toDouble(&ok);
    return ok ? v : 0.0;
}

bool isMaskLiteral(QChar c) {
    return c == '/' || c == ':' || c == '.' || c == '-' || c == ' ';
}

bool acceptsFocusWithoutCheck(QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (w->property("canfocus").toBool() ||
            w->property("tag").toString().compare(QLatin1String("canfocus"), Qt::CaseInsensitive) ==
                0)
            return true;
        if (w->isWindow()) break;
    }
    return false;
}

}  // namespace

OpcEntrada::OpcEntrada(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)) {
    edit_->setObjectName(QStringLiteral("MaskEd"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, [this] { Q_EMIT textChanged(text()); });
}

void OpcEntrada::setTypeInput(int mode) {
    typeInput_ = mode;
    setMask(mode == Date   ? QStringLiteral("##/##/####")
            : mode == Time ? QStringLiteral("##:##")
                           : QString());
    setText(QString());
}

void OpcEntrada::setMask(const QString& mask) {
    mask_ = mask;
    if (mask.isEmpty()) {
        edit_->setInputMask(QString());
        return;
    }
    QString qt;
    for (QChar c : mask) {
        if (c == '#')
            qt += '0';
        else if (isMaskLiteral(c))
            qt += c;
        else
            qt += QStringLiteral("\\") + c;
    }
    edit_->setInputMask(qt + QStringLiteral(";_"));
}

QString OpcEntrada::text() const {
    return isEmptyText() ? QString() : edit_->text();
}

void OpcEntrada::setText(const QString& text) {
    edit_->setText(text);
}

bool OpcEntrada::isEmptyText() const {
    const QString t = edit_->text();
    if (mask_.isEmpty()) return t.isEmpty();
    for (QChar c : t)
        if (!mask_.contains(c) && !c.isSpace()) return false;
    return true;
}

QDate OpcEntrada::relativeDate(int code) const {
    const QDate today = today_ ? today_() : QDate::currentDate();
    switch (code) {
        case 1:
            return today;
        case 2:
            return QDate(today.year(), today.month(), 1);
        case 3:
            return QDate(today.year(), today.month(), today.daysInMonth());
        case 4:
            return QDate(today.year(), 1, 1);
        case 5:
            return QDate(today.year(), 12, 31);
        default:
            return {};
    }
}

std::optional<QDate> OpcEntrada::boundDate(const QString& text, int code) const {
    if (code != 0) {
        const QDate d = relativeDate(code);
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    if (text.trimmed().isEmpty()) return std::nullopt;
    return parseDisplayDate(text);
}

QString OpcEntrada::completeDate(const QString& typed, const QString& defaultText,
                                 bool fourDigitYear) {
    const QString s = typed.trimmed();
    const int n = s.size();
    QString day, month, year;
    if (n == 5 || n == 6) {
        year = s.right(2);
        month = s.mid(n - 4, 2);
        day = s.left(n - 4);
        if (fourDigitYear) {
            // Two-digit years read as 1930..2029.
            const int yy = year.toInt();
            year = QString::number(yy < 30 ? 2000 + yy : 1900 + yy);
        }
    } else if (n == 7 || n == 8) {
        year = s.right(4);
        month = s.mid(n - 6, 2);
        day = s.left(n - 6);
    } else {
        return typed;
    }
    const QString result = day + '/' + month + '/' + year;
    if (parseDisplayDate(result)) return result;
    if (parseDisplayDate(defaultText)) return defaultText.trimmed();
    return {};
}

void OpcEntrada::completeOnLeaving() {
    if (typeInput_ != Date || isEmptyText()) return;
    const QString t = edit_->text();
    if (parseDisplayDate(t)) return;
    QString typed = t;
    if (!mask_.isEmpty()) {
        // The digits typed, without the mask's literals.
        typed.clear();
        for (QChar c : t)
            if (!mask_.contains(c)) typed += c;
    } else if (t.contains('/')) {
        return;
    }
    typed = typed.trimmed();
    if (typed.size() < 5 || typed.size() > 8) return;
    const int yearPlaces = mask_.size() - mask_.lastIndexOf('/') - 1;
    setText(completeDate(typed, textOnEntry_, mask_.contains('/') && yearPlaces > 2));
}

void OpcEntrada::fail(const QString& message, QString* out) {
    errorText_ = message;
    if (out) *out = message;
    if (!allowMsgBox_) Q_EMIT error(kErrorCode, message);
}

bool OpcEntrada::Validate(QString* message) {
    if (isEmptyText()) {
        if (!allowEmpty_) {
            fail(QStringLiteral("No puede dejar los datos en blanco"), message);
            return false;
        }
        errorText_.clear();
        return true;
    }
    const QString t = text();
    if (typeInput_ == Integer || typeInput_ == Decimal) {
        const double v = valueOf(t);
        if (minNum_ && maxNum_) {
            if (v < *minNum_ || v > *maxNum_) {
                fail(QStringLiteral("Rango ") + numberText(*minNum_) + QStringLiteral("...") +
                         numberText(*maxNum_),
                     message);
                return false;
            }
        } else if (maxNum_) {
            if (v > *maxNum_) {
                fail((typeInput_ == Integer
                          ? QStringLiteral("El numero debe ser igual o menor que")
                          : QStringLiteral("El numero debe ser igual o menor que ")) +
                         numberText(*maxNum_),
                     message);
                return false;
            }
        } else if (minNum_) {
            if (v < *minNum_) {
                fail(QStringLiteral("El numero debe ser igual o mayor que ") + numberText(*minNum_),
                     message);
                return false;
            }
        }
        if (typeInput_ == Decimal) setText(QString::number(v, 'f', dec_).replace('.', ','));
    } else if (typeInput_ == Date) {
        const auto d = parseDisplayDate(t);
        if (!d) {
            fail(QStringLiteral("La fecha no es válida"), message);
            return false;
        }
        const auto lo = boundDate(minDate_, minDateVar_);
        const auto hi = boundDate(maxDate_, maxDateVar_);
        if (lo && hi) {
            if (*d < *lo || *d > *hi) {
                fail(QStringLiteral("Rango: ") + formatDate(*lo) + QStringLiteral(" ... ") +
                         formatDate(*hi),
                     message);
                return false;
            }
        } else if (lo && *d < *lo) {
            fail(QStringLiteral("La fecha debe ser igual o mayor que ") + formatDate(*lo), message);
            return false;
        } else if (hi && *d > *hi) {
            fail(QStringLiteral("La Fecha debe ser igual o menor que ") + formatDate(*hi), message);
            return false;
        }
    } else if (typeInput_ == Time) {
        const int colon = t.indexOf(':');
        bool okH = false, okM = false;
        const int h = t.left(colon).trimmed().toInt(&okH);
        const int m = t.mid(colon + 1).trimmed().toInt(&okM);
        if (t.size() < 4 || colon < 0 || !okH || !okM || h < 0 || h > 23 || m < 0 || m > 59) {
            fail(QStringLiteral("La hora no es válida"), message);
            return false;
        }
        setText(QStringLiteral("%1:%2").arg(h, 2, 10, QChar('0')).arg(m, 2, 10, QChar('0')));
    }
    errorText_.clear();
    return true;
}

void OpcEntrada::onFocusOut() {
    QWidget* now = QApplication::focusWidget();
    if (now && now->window() != window()) return;  // another window: not leaving
    QPointer<OpcEntrada>& returning = returningField(this);
    if (returning && returning != this) return;
    completeOnLeaving();
    if (isReadOnly() || !isEnabled() || acceptsFocusWithoutCheck(now)) return;
    QString message;
    if (Validate(&message) || !allowMsgBox_) return;
    // Back into the field; the box opens after the focus change is over.
    returning = this;
    QTimer::singleShot(0, this, [this, message] {
        if (dialogs_) dialogs_->exclamation(message);
        edit_->setFocus(Qt::OtherFocusReason);
        edit_->selectAll();
        returningField(this) = nullptr;
    });
}

bool OpcEntrada::filterKey(QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        focusNextField(this);
        return true;
    }
    const QString typed = e->text();
    if (key == Qt::Key_Backspace) {
        Q_EMIT keyPress(QString(QChar(8)));
        return false;
    }
    if (typed.size() != 1 || typed.at(0) < QChar(0x20) || typed.at(0) == QChar(0x7f)) return false;
    const QChar c = typed.at(0);
    Q_EMIT keyPress(typed);
    if (edit_->isReadOnly()) return false;

    auto resend = [&](QChar replacement) {
        QKeyEvent changed(QEvent::KeyPress, replacement == ',' ? int(Qt::Key_Comma) : key,
                          e->modifiers(), QString(replacement), e->isAutoRepeat());
        // Straight to the box: the replacement has been filtered already.
        edit_->removeEventFilter(this);
        QCoreApplication::sendEvent(edit_, &changed);
        edit_->installEventFilter(this);
        return true;
    };
    // "-" negates the number in the box (empty counts as 0): "12" -> "-12", "-12" -> "12".
    auto toggleSign = [&] {
        QString t = edit_->text();
        if (typeInput_ == Integer) {
            t = QString::number(-t.toLongLong());
        } else {
            const double v = QString(t).replace(u',', u'.').toDouble();
            t = QString::number(v == 0 ? 0.0 : -v, 'g', 15).replace(u'.', u',');
        }
        edit_->setText(t);
        edit_->setCursorPosition(t.size());
        return true;
    };

    switch (typeInput_) {
        case FreeText:
            if (luCase_ == 1 && c.toUpper() != c) return resend(c.toUpper());
            if (luCase_ == 2 && c.toLower() != c) return resend(c.toLower());
            return false;
        case Integer:
            if (c == '-') return toggleSign();
            return !isDigit(c);
        case Decimal: {
            if (c == '-') return toggleSign();
            if (!isDigit(c) && c != ',' && c != '.') return true;
            // The text as it would be with the key typed over the selection.
            QString t = edit_->text();
            int pos = edit_->cursorPosition();
            if (edit_->hasSelectedText()) {
                pos = edit_->selectionStart();
                t.remove(pos, edit_->selectedText().size());
            }
            t.insert(pos, QChar(isDigit(c) ? c : QChar(',')));
            const int sep = t.indexOf(',');
            if (sep >= 0 && t.indexOf(',', sep + 1) >= 0) return true;
            if (sep >= 0 && t.size() - sep - 1 > dec_) return true;
            if (c == '.') return resend(QChar(','));
            return false;
        }
        default:
            // Dates and times: digits, and the literals to jump over them.
            return !isDigit(c) && !mask_.contains(c);
    }
}

bool OpcEntrada::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* e = static_cast<QKeyEvent*>(event);
            Q_EMIT keyDown(e->key(), e->modifiers());
            return filterKey(e);
        }
        case QEvent::KeyRelease: {
            auto* e = static_cast<QKeyEvent*>(event);
            Q_EMIT keyUp(e->key(), e->modifiers());
            return false;
        }
        case QEvent::MouseButtonRelease:
            Q_EMIT clicked();
            return false;
        case QEvent::FocusIn: {
            textOnEntry_ = text();
            // After a click the box places the cursor itself, and on Tab it selects
            // everything itself; set the selection once it has.
            QTimer::singleShot(0, edit_, [this] {
                if (!edit_->hasFocus()) return;
                if (selectWhenFocus_)
                    edit_->selectAll();
                else
                    edit_->deselect();
            });
            return false;
        }
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                reason != Qt::MenuBarFocusReason)
                onFocusOut();
            return false;
        }
        default:
            return false;
    }
}

}  // namespace torvane
