// 转换站点编码 shows its plan before it writes anything, and offers 转换
// only for a plan with something to do and nothing refused.
#include "dialogs/site_conversion_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "gui_test_setup.h"

using qasp::dialogs::SiteConversionDialog;

namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class SiteConversionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }

    void thePlanIsShownAndNothingIsWrittenUntilAsked()
    {
        QTemporaryDir site;
        // A GBK page ("中文") that says so.
        const QByteArray page = "<%@ CodePage=936 %>\r\n<p>\xD6\xD0\xCE\xC4</p>\r\n";
        Write(site.filePath("index.asp"), page);
        SiteConversionDialog dialog(site.path().toStdString(), {});
        auto *preview = dialog.findChild<QPlainTextEdit *>("conversionPreview");
        auto *convert = dialog.findChild<QPushButton *>("convertButton");
        auto *target = dialog.findChild<QComboBox *>("targetEncoding");
        QVERIFY(preview && convert && target);
        QVERIFY(preview->toPlainText().contains("index.asp"));
        QVERIFY(preview->toPlainText().contains("65001"));
        QVERIFY(convert->isEnabled());
        QCOMPARE(ReadAll(site.filePath("index.asp")), page);
        // Already GBK: nothing to do, nothing offered.
        target->setCurrentIndex(target->findText("GBK"));
        QVERIFY(!convert->isEnabled());
    }

    void aPlanWithARefusalOffersNothing()
    {
        QTemporaryDir site;
        // UTF-8 with a character GBK lacks.
        Write(site.filePath("index.asp"),
              "<%@ CodePage=65001 %>\r\n<p>\xE4\xB8\xAD \xF0\x9F\x98\x80</p>\r\n");
        SiteConversionDialog dialog(site.path().toStdString(), {});
        auto *target = dialog.findChild<QComboBox *>("targetEncoding");
        target->setCurrentIndex(target->findText("GBK"));
        QVERIFY(!dialog.findChild<QPushButton *>("convertButton")->isEnabled());
        QVERIFY(dialog.findChild<QPlainTextEdit *>("conversionPreview")->toPlainText().contains("index.asp"));
    }
};

QTEST_MAIN(SiteConversionDialogTest)
#include "site_conversion_dialog_test.moc"
