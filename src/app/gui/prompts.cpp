#include "app/gui/prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/gui/skin.h"

namespace korvalend::gui {
namespace {

Prompts::Hooks& CurrentHooks() {
    static Prompts::Hooks hooks;
    return hooks;
}

}  // namespace

void Prompts::SetHooks(Hooks hooks) {
    CurrentHooks() = std::move(hooks);
}

void Prompts::ShowMessage(QWidget* parent, const Message& message) {
    if (CurrentHooks().message) {
        CurrentHooks().message(message);
        return;
    }
    QMessageBox box(
        message.icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::Information,
        message.caption, message.text, QMessageBox::Ok, parent);
    box.setFont(VerdanaFont());
    box.exec();
}

std::optional<QString> Prompts::OpenFile(QWidget* parent, const QString& filter) {
    if (CurrentHooks().openFile) return CurrentHooks().openFile(filter);
    const QString picked = QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    if (picked.isEmpty()) return std::nullopt;
    return picked;
}

}  // namespace korvalend::gui
