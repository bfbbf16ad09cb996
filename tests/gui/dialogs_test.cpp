// The about dialog and the builder dialog on their own.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "app/core/about_text.h"
#include "app/gui/frm_build_kv.h"
#include "app/gui/frm_korvalend_msg_box.h"
#include "app/gui/image_button.h"
#include "app/gui/query_button_pictures.h"
#include "builder/configuration_block.h"
#include "gui_test_support.h"
#include "support/block_image.h"

using namespace korvalend;
using namespace korvalend::gui;
using namespace korvalend::guitest;

namespace {

constexpr std::size_t kBefore = 1000;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

}  // namespace

class DialogTest final : public QObject {
    Q_OBJECT
  private slots:
    void init() { prompts_ = std::make_unique<PromptRecorder>(); }
    void cleanup() { prompts_.reset(); }

    void aboutDialogLayoutAndText() {
        TfrmKorvalendMsgBox dialog(RunningConfigurationBlock(), nullptr);
        QCOMPARE(dialog.size(), QSize(486, 420));
        QCOMPARE(dialog.windowTitle(), QString("Korvalend"));
        auto* label = dialog.findChild<QLabel*>("lblKorvalend");
        QVERIFY(label);
        QCOMPARE(label->geometry(), QRect(20, 40, 445, 341));
        QVERIFY(label->wordWrap());
        QVERIFY(QFontInfo(label->font()).fixedPitch());
        QCOMPARE(label->text(), QString::fromStdString(AboutText(RunningConfigurationBlock())));
        QVERIFY(!label->text().contains('\r'));
        auto* close = dialog.findChild<QPushButton*>("cmdClose");
        QCOMPARE(close->text(), QString("Close"));
        QCOMPARE(close->geometry(), QRect(208, 392, 81, 21));
        dialog.show();
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    void queryButtonPictures() {
        const QPixmap normal = DrawQueryPicture(QueryPicture::Normal);
        const QPixmap over = DrawQueryPicture(QueryPicture::MouseOver);
        const QPixmap pressed = DrawQueryPicture(QueryPicture::Pressed);
        for (const QPixmap* p : {&normal, &over, &pressed}) {
            QCOMPARE(p->size(), QSize(70, 45));
        }
        QVERIFY(normal.toImage() != over.toImage());
        QVERIFY(over.toImage() != pressed.toImage());
        // Blue at rest, red under the mouse.
        auto tint = [](const QPixmap& picture) {
            long red = 0, blue = 0;
            const QImage image = picture.toImage();
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < 30; ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.alpha() < 200) continue;
                    red += c.red() > c.blue() + 80 ? 1 : 0;
                    blue += c.blue() > c.red() + 80 ? 1 : 0;
                }
            }
            return std::pair{red, blue};
        };
        QVERIFY(tint(normal).second > 50 && tint(normal).first == 0);
        QVERIFY(tint(over).first > 50 && tint(over).second == 0);
    }

    void builderLayout() {
        TfrmBuildKV builder(QString(), QDir::tempPath(), nullptr);
        QCOMPARE(builder.size(), QSize(454, 123));
        QCOMPARE(builder.windowTitle(), QString("Korvalend Builder"));
        QCOMPARE(builder.findChild<QLabel*>("Label1")->text(),
                 QString("Please select parameter file :"));
        QCOMPARE(builder.findChild<QPushButton*>("cmdBrowse")->text(), QString("Browse"));
        QCOMPARE(builder.findChild<QPushButton*>("cmdBuild")->text(), QString("Build"));
        QCOMPARE(builder.findChild<QPushButton*>("cmdClose")->text(), QString("Close"));
    }

    void builderPaths() {
        QTemporaryDir dir;
        const auto image = testing::ImageWithBlock(kBefore, 4000);
        const QByteArray prototype(reinterpret_cast<const char*>(image.data()),
                                   static_cast<qsizetype>(image.size()));
        const QString prototypePath = dir.filePath("prototype.bin");
        WriteAll(prototypePath, prototype);
        QFile::setPermissions(prototypePath, QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadGroup |
                                                 QFile::ExeGroup);
        QDir(dir.path()).mkdir("out");
        const QString output = dir.filePath("out/Korvalend.Exe");

        TfrmBuildKV builder(prototypePath, dir.filePath("out"), nullptr);
        auto* path = builder.findChild<QLineEdit*>("txtFile");
        auto* build = builder.findChild<QPushButton*>("cmdBuild");
        struct Case {
            QString typed;
            QByteArray parameters;  // written to the typed path when not empty
            QString caption;
            QString text;  // the box's first line
        };
        const QString bad = dir.filePath("bad.txt");
        const Case failures[] = {
            {"   ", {}, "Error", "No file selected !"},
            {dir.filePath("none.txt"), {}, "Error", "File not exists !"},
            {bad, "[DVD]\nZZ43432030303300000000AB=Bad Pair\n", "Error",
             "'0xZZ' is not a valid integer value"},
        };
        for (const Case& c : failures) {
            if (!c.parameters.isEmpty()) WriteAll(c.typed, c.parameters);
            path->setText(c.typed);
            prompts_->messages.clear();
            QTest::mouseClick(build, Qt::LeftButton);
            QCOMPARE(prompts_->messages.size(), std::size_t{1});
            QCOMPARE(prompts_->messages[0].caption, c.caption);
            QCOMPARE(prompts_->messages[0].text.split('\n').front(), c.text);
            QVERIFY(prompts_->messages[0].icon == MessageIcon::Stop);
            QVERIFY(build->isEnabled());
            QVERIFY(!QFile::exists(output));
        }
        // The conversion error also says where the bad pair stands.
        QVERIFY(prompts_->messages[0].text.endsWith("bad.txt:2"));

        // Browse picks the file; Build writes the copy next to it.
        const QString parameters = dir.filePath("p.txt");
        WriteAll(parameters, "[PROPERTY]\nNAME=Built\n");
        prompts_->AnswerNextOpenFile(parameters);
        QTest::mouseClick(builder.findChild<QPushButton*>("cmdBrowse"), Qt::LeftButton);
        QCOMPARE(path->text(), parameters);
        QCOMPARE(builder.OutputFolder(), dir.path());
        prompts_->messages.clear();
        QTest::mouseClick(build, Qt::LeftButton);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].caption, QString("Information"));
        QCOMPARE(prompts_->messages[0].text, QString("File created successfully !"));
        QVERIFY(prompts_->messages[0].icon == MessageIcon::Information);
        QVERIFY(build->isEnabled());

        QByteArray expected = prototype;
        const auto name = block_field::kName;
        expected.replace(
            static_cast<qsizetype>(kBefore + name.offset), static_cast<qsizetype>(name.width),
            QByteArray("Built").leftJustified(static_cast<qsizetype>(name.width), '\0'));
        const QString written = dir.filePath("Korvalend.Exe");
        QCOMPARE(ReadAll(written), expected);
        QCOMPARE(ReadAll(prototypePath), prototype);
        // The copy keeps the prototype's permissions, execute bits included.
        QCOMPARE(QFile::permissions(written), QFile::permissions(prototypePath));
    }

  private:
    std::unique_ptr<PromptRecorder> prompts_;
};

int RunDialogTests(int argc, char** argv) {
    DialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialogs_test.moc"
