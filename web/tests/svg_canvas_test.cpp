// The browser's SVG pages against the desktop's PDF pages: the same page and
// figure code measures with the face metrics of web/font_metrics.inc there
// and with the installed faces here, and every text must stand where the
// desktop puts it.
#include <QGuiApplication>
#include <QTest>

#include <cmath>
#include <regex>

#include "render/qt_fonts.h"
#include "sheets/paper.h"
#include "sheets/pdf_pages.h"
#include "sheets/presets.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_pdf.h"
#include "web/svg_canvas.h"
#include "web/svg_pages.h"
#include "worksheet/sheet_generator.h"

namespace {

struct TPlacedText {
    int32_t X, Y;
    std::string Text;
};

// Passes everything on to `target` and keeps where each text went.
class TTextPlaces : public TCanvas {
public:
    explicit TTextPlaces(TCanvas& target) : target_(target) {}
    std::vector<TPlacedText> Texts;
    int Lines = 0;

    void TextOut(int32_t x, int32_t y, const std::string& text) override
    {
        Texts.push_back({x, y, text});
        Sync().TextOut(x, y, text);
    }
    void TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot) override
    {
        Texts.push_back({x, y, text});
        Sync().TextOutInSlots(x, y, text, slot);
    }
    int32_t TextWidth(const std::string& text) override { return Sync().TextWidth(text); }
    TGlyphInk TextInk(const std::string& text) override { return Sync().TextInk(text); }
    void MoveTo(int32_t x, int32_t y) override { Sync().MoveTo(x, y); }
    void LineTo(int32_t x, int32_t y) override
    {
        ++Lines;
        Sync().LineTo(x, y);
    }
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override { Sync().Rectangle(x1, y1, x2, y2); }

private:
    TCanvas& Sync()
    {
        target_.Font = Font;
        target_.Pen = Pen;
        target_.Brush = Brush;
        return target_;
    }
    TCanvas& target_;
};

// A sheet of the preset, in 標準 or in the preset's own 大きなマス.
TSheet SheetOf(const TPreset& preset, bool largeCells, const std::string& digitFont)
{
    TWorksheetSettings settings;
    ApplyNamed(preset.Settings, settings);
    if (!largeCells) settings.CellMM = 0;
    settings.DigitFont = digitFont;
    TRandom random = RandomFromSeed(7);
    return GenerateSheet(settings, 1, random);
}

}  // namespace

class SvgCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterFontSubstitutes(); }

    // Every preset in 標準 (within half a reference unit) and in its
    // 大きなマス in both faces (within 0.2 mm), problem and answer pages.
    void textsStandWhereTheDesktopPutsThem_data()
    {
        QTest::addColumn<bool>("largeCells");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("paper");
        QTest::newRow("標準 A4") << false << "BIZ UDGothic" << "A4";
        QTest::newRow("標準 B5") << false << "BIZ UDGothic" << "B5";
        QTest::newRow("大きなマス A4") << true << "BIZ UDGothic" << "A4";
        QTest::newRow("大きなマス クレー A3") << true << "Klee One" << "A3";
    }
    void textsStandWhereTheDesktopPutsThem()
    {
        QFETCH(bool, largeCells);
        QFETCH(QString, face);
        QFETCH(QString, paper);
        const TSvgPageSize size = SvgPageSize(paper.toStdString());
        const std::optional<TPaper> desktopPaper = PaperNamed(paper.toStdString());
        QVERIFY(desktopPaper);
        int32_t farthest = 0;
        for (const TPreset& preset : Presets()) {
            const TSheet sheet = SheetOf(preset, largeCells, face.toStdString());
            for (const bool answers : {false, true}) {
                TPdfPages pdf(PaperLayout(*desktopPaper), kPdfResolution);
                QCOMPARE(pdf.Width(), size.W);
                QCOMPARE(pdf.Height(), size.H);
                TTextPlaces desktop(pdf.NewPage());
                TSvgCanvas svg(size.W, size.H, size.WidthMm, size.HeightMm);
                TTextPlaces browser(svg);
                const TPageView view = SvgPageView(sheet, paper.toStdString());
                DrawSheetPage(desktop, size.W, size.H, view, sheet, answers);
                DrawSheetPage(browser, size.W, size.H, view, sheet, answers);

                const double tolerance = !largeCells ? 0.5 * size.W / kReferenceWidth : 0.2 * size.DotsPerMm;
                const QByteArray where = QByteArray::fromStdString(preset.Name) + (answers ? " 答え" : " 問題");
                QVERIFY2(desktop.Texts.size() == browser.Texts.size(), where);
                QVERIFY2(desktop.Lines == browser.Lines, where);
                for (size_t k = 0; k < desktop.Texts.size(); ++k) {
                    const TPlacedText &d = desktop.Texts[k], &b = browser.Texts[k];
                    QVERIFY2(d.Text == b.Text, where + ": " + QByteArray::fromStdString(d.Text));
                    farthest = std::max({farthest, std::abs(d.X - b.X), std::abs(d.Y - b.Y)});
                    QVERIFY2(std::abs(d.X - b.X) <= tolerance && std::abs(d.Y - b.Y) <= tolerance,
                             where + ": 「" + QByteArray::fromStdString(d.Text) + "」 desktop " + QByteArray::number(d.X) + "," +
                                 QByteArray::number(d.Y) + " browser " + QByteArray::number(b.X) + "," + QByteArray::number(b.Y));
                }
            }
        }
        qInfo("farthest text from the desktop's place: %d dots (%.3f mm)", farthest, farthest / SvgPageSize("A4").DotsPerMm);
    }

    // The SVG is a page a browser shows at its paper's size: its view box in
    // dots, its size in millimetres, text in runs with their places, one text
    // element a face, the faces by the names the page's fonts take, and the
    // dotted grid as a pattern.
    void svgIsAPageOfItsPaper()
    {
        TSheet sheet = SheetOf(Presets().front(), true, "Klee One");
        sheet.Settings.QstSentence = "<b>\"A&B\"</b>";
        const std::vector<TSvgPage> pages = SvgPages({sheet}, TAnswerOrder::Each, "B4");
        QCOMPARE(pages.size(), size_t(2));
        QVERIFY(!pages[0].Answers && pages[1].Answers);
        const std::string& svg = pages[0].Svg;
        std::smatch size;
        QVERIFY(std::regex_search(svg, size, std::regex("width=\"([0-9.]+)mm\" height=\"([0-9.]+)mm\"")));
        QVERIFY(std::abs(std::stod(size[1]) - (257 - 20)) < 0.5 && std::abs(std::stod(size[2]) - (364 - 20)) < 0.5);
        QVERIFY(svg.find("font-family=\"TavelinKlee\"") != std::string::npos);
        QVERIFY(svg.find("font-family=\"TavelinMincho\"") != std::string::npos);
        // Problem numbers and digits, never an unescaped character of markup.
        const std::regex text("<tspan x=\"[0-9 ]+\" y=\"[0-9]+\">[^<>]*</tspan>");
        size_t texts = 0;
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator(); ++it) ++texts;
        QVERIFY(texts > 20);
        size_t elements = 0;
        for (size_t at = svg.find("<text "); at != std::string::npos; at = svg.find("<text ", at + 1)) ++elements;
        QVERIFY(elements <= 6);
        // 標準's dotted cells: one pattern, no dashes.
        const std::string standard = SvgPages({SheetOf(Presets().front(), false, "BIZ UDGothic")}, TAnswerOrder::None, "A4").front().Svg;
        QVERIFY(std::regex_search(standard, std::regex("<pattern id=\"(tavelin-dots-[0-9]+)\"")));
        QVERIFY(std::regex_search(standard, std::regex("stroke=\"url\\(#tavelin-dots-[0-9]+\\)\"")));
        QVERIFY(standard.find("stroke-dasharray") == std::string::npos);
        QVERIFY(svg.find("&lt;b&gt;&quot;A&amp;B&quot;&lt;/b&gt;") != std::string::npos);
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    SvgCanvasTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "svg_canvas_test.moc"
