// Prints the metrics of the faces a sheet is drawn with, per em, as the
// table the browser edition's drawing surface measures with
// (web/font_metrics.inc):
//   font_metrics > web/font_metrics.inc
// Each face: its CSS family, its cell (ascent plus descent) and ascent, its
// underline, the advances of the printable ASCII characters and of the other
// characters a sheet writes, and the ink of "0".
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>

#include <cstdio>

#include "render/diagnostic_key.h"
#include "render/qt_fonts.h"
#include "render/reference_page.h"
#include "worksheet/operations.h"

namespace {

// The characters of a sheet's fixed texts besides ASCII, and of every
// diagnostic key, once each.
QString SheetTexts()
{
    std::string texts = "かけ算たし算ひき算わり算問題（）　答えあまりつぎの計算をしましょう。×÷＋−";
    for (const TOperationRules& rules : Operations()) texts += KeyTexts(rules.Operation);
    QString unique;
    for (const QChar ch : QString::fromStdString(texts))
        if (ch.unicode() >= 0x80 && !unique.contains(ch)) unique += ch;
    return unique;
}

void Face(const char* face, const char* family)
{
    QFont font(InstalledFamily(face));
    font.setPixelSize(1000);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetricsF m(font);
    const QRawFont raw = QRawFont::fromFont(font);
    std::printf("    {\"%s\", \"%s\", %.5f, %.5f, %.5f, %.5f,\n     {", face, family, (m.ascent() + m.descent()) / 1000,
                m.ascent() / 1000, m.underlinePos() / 1000, m.lineWidth() / 1000);
    for (char32_t ch = 0x20; ch < 0x7F; ++ch) {
        const auto glyphs = raw.glyphIndexesForString(QString(QChar(static_cast<char16_t>(ch))));
        std::printf("%s%.5f", ch == 0x20 ? "" : ", ", raw.advancesForGlyphIndexes(glyphs).value(0).x() / 1000);
    }
    std::printf("},\n     {");
    bool first = true;
    for (const QChar ch : SheetTexts()) {
        const auto glyphs = raw.glyphIndexesForString(QString(ch));
        std::printf("%s{0x%04X, %.5f}", first ? "" : ", ", ch.unicode(), raw.advancesForGlyphIndexes(glyphs).value(0).x() / 1000);
        first = false;
    }
    const auto zero = raw.glyphIndexesForString(QStringLiteral("0"));
    const QRectF ink = raw.boundingRect(zero.value(0));
    std::printf("},\n     %.5f, %.5f},\n", ink.top() / 1000, ink.bottom() / 1000);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    std::printf("// Made by tools/font_metrics from the installed faces: per em.\n");
    Face(kMinchoFace, "TavelinMincho");
    Face(kGothicFace, "TavelinGothic");
    Face("BIZ UDGothic", "TavelinUD");
    Face("Klee One", "TavelinKlee");
    return 0;
}
