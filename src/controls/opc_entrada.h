#pragma once

#include <QDate>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "core/dialogs.h"

namespace torvane {

// The masked entry field for free text, integers, decimals, dates and times.
// It wraps one QLineEdit named "MaskEd" and adds key filtering, completion of
// dates and validation with Spanish messages. Screens usually place it over a
// bound text field and copy Text() into it on textChanged.
//
// Leaving the field (to a control of the same window that does not have the
// dynamic property "canfocus" set to true) completes a date and validates.
// On failure with AllowMsgBox true the focus comes back to the field and the
// message is shown through the Dialogs given with setDialogs (exclamation);
// with AllowMsgBox false the error signal (code 8) is raised and the focus
// goes where the user put it. A read-only field is not validated.
class OpcEntrada : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int TypeInput READ typeInput WRITE setTypeInput)
    Q_PROPERTY(QString MinDate READ minDate WRITE setMinDate)
    Q_PROPERTY(QString MaxDate READ maxDate WRITE setMaxDate)
    Q_PROPERTY(int MinDateVar READ minDateVar WRITE setMinDateVar)
    Q_PROPERTY(int MaxDateVar READ maxDateVar WRITE setMaxDateVar)
    Q_PROPERTY(bool AllowEmpty READ allowEmpty WRITE setAllowEmpty)
    Q_PROPERTY(int LUCase READ luCase WRITE setLUCase)
    Q_PROPERTY(int Dec READ dec WRITE setDec)
    Q_PROPERTY(bool SelectWhenFocus READ selectWhenFocus WRITE setSelectWhenFocus)
    Q_PROPERTY(bool AllowMsgBox READ allowMsgBox WRITE setAllowMsgBox)
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QString Mask READ mask WRITE setMask)

  public:
    enum Mode { FreeText = 0, Integer = 1, Decimal = 2, Date = 3, Time = 4 };
    static constexpr int kErrorCode = 8;

    explicit OpcEntrada(QWidget* parent = nullptr);

    // Setting a mode stores it, sets its mask and empties the text.
    int typeInput() const { return typeInput_; }
    void setTypeInput(int mode);

    // Number bounds of modes 1 and 2; std::nullopt = no bound.
    std::optional<double> minNum() const { return minNum_; }
    void setMinNum(std::optional<double> v) { minNum_ = v; }
    std::optional<double> maxNum() const { return maxNum_; }
    void setMaxNum(std::optional<double> v) { maxNum_ = v; }

    // Date bounds of mode 3 as dd/mm/yyyy texts ("" = none), or as codes
    // relative to today (0 unused, 1 today, 2/3 first/last day of the month,
    // 4/5 first/last day of the year), which win when not 0.
    QString minDate() const { return minDate_; }
    void setMinDate(const QString& d) { minDate_ = d; }
    QString maxDate() const { return maxDate_; }
    void setMaxDate(const QString& d) { maxDate_ = d; }
    int minDateVar() const { return minDateVar_; }
    void setMinDateVar(int code) { minDateVar_ = code; }
    int maxDateVar() const { return maxDateVar_; }
    void setMaxDateVar(int code) { maxDateVar_ = code; }

    bool allowEmpty() const { return allowEmpty_; }
    void setAllowEmpty(bool v) { allowEmpty_ = v; }
    // Mode 0 letter case: 0 as typed, 1 upper, 2 lower.
    int luCase() const { return luCase_; }
    void setLUCase(int v) { luCase_ = v; }
    // Decimals of mode 2; below 1 is stored as 2.
    int dec() const { return dec_; }
    void setDec(int v) { dec_ = v < 1 ? 2 : v; }
    bool selectWhenFocus() const { return selectWhenFocus_; }
    void setSelectWhenFocus(bool v) { selectWhenFocus_ = v; }
    bool allowMsgBox() const { return allowMsgBox_; }
    void setAllowMsgBox(bool v) { allowMsgBox_ = v; }

    // The text without the mask's blanks ("" when only the literals are left).
    QString text() const;
    void setText(const QString& text);
    QString mask() const { return mask_; }
    void setMask(const QString& mask);  // "#" is a digit place: "##/##/####"

    QString errorText() const { return errorText_; }

    // Runs the checks on the current text (mode 2 and 4 rewrite a valid text).
    // On failure *message gets the message and, when AllowMsgBox is false,
    // error(8, message) is raised.
    bool Validate(QString* message = nullptr);

    // The relative date of a code (1..5) from today; invalid for other codes.
    QDate relativeDate(int code) const;
    // Where "today" comes from; tests pin it, screens pass Session::today.
    void setTodaySource(std::function<QDate()> today) { today_ = std::move(today); }

    // Completes a typed date: "010308" -> "01/03/2008", "10308" -> "1/03/2008",
    // "1032008" -> "1/03/2008"; an invalid result falls back to defaultText
    // when that is a valid date, else "".
    static QString completeDate(const QString& typed, const QString& defaultText,
                                bool fourDigitYear = true);

    // Dialogs for the messages shown when leaving fails with AllowMsgBox true.
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

    void setReadOnly(bool ro) { edit_->setReadOnly(ro); }
    bool isReadOnly() const { return edit_->isReadOnly(); }
    // Appearance and selection pass through to the inner box.
    QLineEdit* maskEdit() const { return edit_; }
    int maxLength() const { return edit_->maxLength(); }
    void setMaxLength(int n) { edit_->setMaxLength(n); }
    int selStart() const {
        return edit_->selectionStart() < 0 ? edit_->cursorPosition() : edit_->selectionStart();
    }
    void setSelStart(int p) { edit_->setCursorPosition(p); }
    int selLength() const { return edit_->selectedText().size(); }
    void setSelLength(int n) { edit_->setSelection(selStart(), n); }
    QString selText() const { return edit_->selectedText(); }
    void setSelText(const QString& t) { edit_->insert(t); }

  Q_SIGNALS:
    void textChanged(const QString& text);
    void error(int code, const QString& message);
    void keyDown(int key, Qt::KeyboardModifiers shift);
    void keyUp(int key, Qt::KeyboardModifiers shift);
    void keyPress(const QString& key);  // not for Enter
    void clicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool filterKey(class QKeyEvent* e);
    void onFocusOut();
    void completeOnLeaving();
    bool isEmptyText() const;
    std::optional<QDate> boundDate(const QString& text, int code) const;
    void fail(const QString& message, QString* out);

    QLineEdit* edit_;
    int typeInput_ = 0;
    std::optional<double> minNum_ = 0.0;
    std::optional<double> maxNum_ = 2147483647.0;
    QString minDate_, maxDate_;
    int minDateVar_ = 0, maxDateVar_ = 0;
    bool allowEmpty_ = true;
    int luCase_ = 0;
    int dec_ = 2;
    bool selectWhenFocus_ = true;
    bool allowMsgBox_ = true;
    QString mask_;
    QString errorText_;
    QString textOnEntry_;
    std::function<QDate()> today_;
    Dialogs* dialogs_ = nullptr;
};

}  // namespace torvane
