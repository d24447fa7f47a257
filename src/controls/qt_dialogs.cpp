#include "controls/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace torvane {

namespace {
QString titleOr(const QString& title) {
    return title.isEmpty() ? QStringLiteral("Torvane") : title;
}
QWidget* activeParent() {
    return QApplication::activeWindow();
}
}  // namespace

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i];
        out << (desc.contains('(') ? desc : desc + " (" + parts[i + 1] + ")");
    }
    if (out.isEmpty()) out << filter;
    return out.join(QStringLiteral(";;"));
}

void QtDialogs::message(const QString& text, Icon icon, const QString& title) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case Icon::None:
            break;
        case Icon::Information:
            qicon = QMessageBox::Information;
            break;
        case Icon::Exclamation:
            qicon = QMessageBox::Warning;
            break;
        case Icon::Critical:
            qicon = QMessageBox::Critical;
            break;
    }
    QMessageBox box(qicon, titleOr(title), text, QMessageBox::Ok, activeParent());
    box.exec();
}

bool QtDialogs::question(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    activeParent());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    return box.exec() == QMessageBox::Yes;
}

bool QtDialogs::questionWithCaptions(const QString& text, const QString& title,
                                     const QString& yesCaption, const QString& noCaption) {
    QMessageBox box(QMessageBox::Question, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    activeParent());
    box.button(QMessageBox::Yes)->setText(yesCaption.isEmpty() ? QStringLiteral("Sí") : yesCaption);
    box.button(QMessageBox::No)->setText(noCaption.isEmpty() ? QStringLiteral("No") : noCaption);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::openFile(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(activeParent(), title, QString(), toQtFilter(filter));
}

QString QtDialogs::saveFile(const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(activeParent(), title, QString(), toQtFilter(filter));
}

QString QtDialogs::chooseFolder(const QString& title) {
    return QFileDialog::getExistingDirectory(activeParent(), title);
}

namespace {

// An input box with its buttons in Spanish.
std::optional<QString> askText(const QString& prompt, const QString& title,
                               QLineEdit::EchoMode echo, const QString& initial) {
    QInputDialog box(activeParent());
    box.setWindowTitle(titleOr(title));
    box.setLabelText(prompt);
    box.setTextEchoMode(echo);
    box.setTextValue(initial);
    box.setOkButtonText(QStringLiteral("Aceptar"));
    box.setCancelButtonText(QStringLiteral("Cancelar"));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

}  // namespace

std::optional<QString> QtDialogs::inputText(const QString& prompt, const QString& title,
                                            const QString& initial) {
    return askText(prompt, title, QLineEdit::Normal, initial);
}

std::optional<QString> QtDialogs::inputPassword(const QString& prompt, const QString& title) {
    return askText(prompt, title, QLineEdit::Password, QString());
}

}  // namespace torvane
