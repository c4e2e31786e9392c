// The editor adapter's positions and change reports, checked after every
// one of many random edits against readings of the whole text: the line
// sizes it keeps up to date must never drift from the document.
#include "app/encoded_qstring.h"
#include "app/qt_editor_surface.h"
#include "editor/changed_lines.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <random>

using namespace qasp;

namespace {

// Each block's bytes, read afresh.
std::vector<std::string> LinesOf(const QTextDocument &doc, TextEncoding encoding)
{
    std::vector<std::string> lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines.push_back(app::ToBytes(b.text(), encoding));
    return lines;
}

}  // namespace

class QtEditorSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void positionsAndReportsFollowRandomEdits()
    {
        for (TextEncoding encoding : {TextEncoding::Gbk, TextEncoding::Utf8}) {
            QPlainTextEdit edit;
            app::QtEditorSurface surface(&edit);
            surface.SetEncoding(encoding);
            const QString pieces[] = {QStringLiteral("a"),    QStringLiteral("Dim x"), QStringLiteral("\n"),
                                      QStringLiteral("中文"), QStringLiteral("\n\n"),  QString()};
            std::mt19937 random(11);
            std::string node = surface.Text();
            (void)surface.TakeChangedLines();  // from here on the node follows the reports
            for (int round = 0; round < 400; ++round) {
                QTextDocument &doc = *edit.document();
                QTextCursor c(&doc);
                const int size = doc.characterCount() - 1;
                const int at = static_cast<int>(random() % static_cast<unsigned>(size + 1));
                const int to = std::min(size, at + static_cast<int>(random() % 4));
                c.setPosition(at);
                c.setPosition(to, QTextCursor::KeepAnchor);
                if (round % 7 == 3) {  // a colour only, as the highlighter gives
                    QTextCharFormat format;
                    format.setForeground(QColor(round % 2 ? Qt::red : Qt::blue));
                    c.mergeCharFormat(format);
                } else {
                    c.insertText(pieces[random() % std::size(pieces)]);
                }

                const std::vector<std::string> lines = LinesOf(doc, encoding);
                std::string text;
                std::vector<size_t> starts;
                for (const std::string &line : lines) {
                    if (!starts.empty())
                        text += "\r\n";
                    starts.push_back(text.size());
                    text += line;
                }
                QCOMPARE(surface.Text(), text);

                // The node takes the report and comes out as the editor's text.
                const std::optional<ChangedLines> report = surface.TakeChangedLines();
                QVERIFY(report);
                const std::optional<TextEdit> change = EditOfChangedLines(node, *report);
                QVERIFY(change);
                QVERIFY(ApplyEdit(node, *change));
                QCOMPARE(node, text);

                for (size_t row = 0; row < lines.size(); ++row)
                    QCOMPARE(surface.LineIndex(static_cast<int>(row)), starts[row]);
                QCOMPARE(surface.LineIndex(static_cast<int>(lines.size())), text.size() + 2);
                for (size_t offset = 0; offset <= text.size() + 2; ++offset) {
                    // The line holding the offset, its break included.
                    size_t row = 0;
                    while (row + 1 < lines.size() && offset >= starts[row + 1])
                        ++row;
                    QCOMPARE(surface.LineFromChar(offset), static_cast<int>(row));
                }
                for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
                    const auto row = static_cast<size_t>(b.blockNumber());
                    for (int i = 0; i <= b.text().size(); ++i) {
                        const size_t offset = starts[row] + app::ToBytes(b.text().left(i), encoding).size();
                        QCOMPARE(surface.ByteOffsetOf(b.position() + i), offset);
                        QCOMPARE(surface.PositionOfByteOffset(offset), b.position() + i);
                    }
                }
            }
        }
    }

    void aClearedEditorReportsNothingItCannotVouchFor()
    {
        QPlainTextEdit edit;
        app::QtEditorSurface surface(&edit);
        (void)surface.TakeChangedLines();
        surface.ReplaceSelection("Dim a\r\nDim b");
        QVERIFY(surface.TakeChangedLines());
        surface.Clear();
        surface.ReplaceSelection("x");
        QVERIFY(!surface.TakeChangedLines());  // the reader compares whole texts
        surface.ReplaceSelection("y");
        const std::optional<ChangedLines> report = surface.TakeChangedLines();
        QVERIFY(report);
        QCOMPARE(report->before, size_t(1));
        QCOMPARE(report->bytes, std::string("xy"));
    }
};

QTEST_MAIN(QtEditorSurfaceTest)
#include "qt_editor_surface_test.moc"
