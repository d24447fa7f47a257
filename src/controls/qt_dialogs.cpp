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

std::optional<QString> QtDialogs::inputText(const QString& prompt, const QString& title,
                                            const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), titleOr(title), prompt,
                                               QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::inputPassword(const QString& prompt, const QString& title) {
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), titleOr(title), prompt,
                                               QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return text;
}

}  // namespace torvane
