#include "app/gui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/gui/frm_build_kv.h"
#include "app/gui/frm_korvalend_msg_box.h"
#include "app/gui/frm_main.h"
#include "builder/configuration_block.h"

namespace korvalend::gui {
namespace {

constexpr const char* kSampleParameterFile = "/home/user/korvalend/params.txt";

void Save(QWidget& widget, const QString& folder, const char* name) {
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "korvalend: cannot write %s\n", path.toLocal8Bit().constData());
    }
}

void SaveBuilder(TfrmBuildKV& builder, const QString& folder) {
    if (auto* path = builder.findChild<QLineEdit*>("txtFile")) {
        path->setText(QString::fromLatin1(kSampleParameterFile));
    }
    Save(builder, folder, "builder.png");
}

}  // namespace

void TakeScreenshots(TfrmMain& window, const QString& folder) {
    auto shoot = [&window, folder] {
        QApplication::processEvents();
        Save(window, folder, "main-window.png");

        TfrmKorvalendMsgBox about(RunningConfigurationBlock(), &window);
        about.show();
        QApplication::processEvents();
        Save(about, folder, "about.png");
        about.close();

        TfrmBuildKV builder(QString(), QDir::currentPath(), &window);
        builder.show();
        QApplication::processEvents();
        SaveBuilder(builder, folder);
        builder.close();
        window.close();
    };
    QObject::connect(&window, &TfrmMain::StartupFinished, &window, [&window, shoot] {
        if (window.Terminating()) return;
        auto* query = window.findChild<QWidget*>("cmdRefresh");
        if (query && query->isEnabled()) {
            QMetaObject::invokeMethod(query, "click", Qt::QueuedConnection);
        } else {
            QTimer::singleShot(0, &window, shoot);  // nothing to query: the window as it is
        }
    });
    QObject::connect(&window, &TfrmMain::QueryFinished, &window, shoot);
}

void TakeBuilderScreenshotWhenShown(const QString& folder) {
    QTimer::singleShot(0, [folder] {
        auto* builder = qobject_cast<TfrmBuildKV*>(QApplication::activeModalWidget());
        if (!builder) {
            TakeBuilderScreenshotWhenShown(folder);
            return;
        }
        QApplication::processEvents();
        SaveBuilder(*builder, folder);
        builder->close();
    });
}

}  // namespace korvalend::gui
