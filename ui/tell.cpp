#include "ui/tell.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "logic/log_line.h"
#include "logic/resource_ids.h"

namespace {

void Log(const QString& text) {
    LogLine("%s", text.toLocal8Bit().constData());
}

}  // namespace

void Tell(const Services& services, QWidget* owner, const QString& text) {
    Log(text);
    services.question->Warn(owner, QLatin1String(kAppTitle), text);
}

void TellOnceShown(const Services& services, QWidget* owner, const QStringList& texts) {
    for (const QString& text : texts) {
        Log(text);
    }
    if (texts.isEmpty()) {
        return;
    }
    QTimer::singleShot(0, owner, [&services, owner, texts] {
        for (const QString& text : texts) {
            services.question->Warn(owner, QLatin1String(kAppTitle), text);
        }
    });
}

void CloseModalDialogs(const QWidget* owner) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog != nullptr && dialog != owner && dialog->isVisible() && dialog->isModal()) {
            dialog->done(QDialog::Rejected);
        }
    }
}
