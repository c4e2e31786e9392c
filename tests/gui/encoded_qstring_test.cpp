// Node bytes through QString and back in both encodings: Qt's own
// conversions must not get in the way (QString::fromUtf16 drops a leading
// U+FEFF, which is a UTF-8 page's byte-order mark).
#include "app/encoded_qstring.h"
#include "app/gbk_qstring.h"

#include <QTest>

using namespace qasp;

class EncodedQStringTest : public QObject {
    Q_OBJECT

private slots:
    void byteOrderMarkAndStrayBytesComeBack()
    {
        const std::string bytes = "\xEF\xBB\xBF<% s = \"中文\" %>\xFF";
        const QString text = app::FromBytes(bytes, TextEncoding::Utf8);
        QCOMPARE(text.size(), 16);
        QCOMPARE(text.at(0), QChar(0xFEFF));
        QVERIFY(text.contains(QString::fromUtf8("中文")));
        bool lossy = true;
        QCOMPARE(app::ToBytes(text, TextEncoding::Utf8, &lossy), bytes);
        QVERIFY(!lossy);
        QCOMPARE(app::ToBytes(app::FromBytes(bytes, TextEncoding::Gbk), TextEncoding::Gbk), bytes);
    }

    void gbkCallersReadWhatTheyWrote()
    {
        QCOMPARE(app::FromGbk("\xD6\xD0"), QString::fromUtf8("中"));
        QCOMPARE(app::ToGbk(QString::fromUtf8("中")), std::string("\xD6\xD0"));
        bool lossy = false;
        QCOMPARE(app::ToBytes(QString::fromUtf8("😀"), TextEncoding::Gbk, &lossy), std::string("??"));
        QVERIFY(lossy);
    }
};

QTEST_MAIN(EncodedQStringTest)
#include "encoded_qstring_test.moc"
