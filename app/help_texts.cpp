#include "app/help_texts.h"

#include <vector>

#include "worksheet/operations.h"

namespace {

// One example of each pattern of an operation, in item order, with what
// happens in it.
struct TExamples {
    TOperation Operation;
    std::vector<const char*> Meanings;
    std::vector<const char*> Examples;
};

const TExamples kExamples[] = {
    {TOperation::Multiplication,
     {"条件なし。どんな問題も出ます。", "一の位でも十の位でもくり上がりません。",
      "一の位でくり上がり、十の位ではくり上がりません。", "一の位ではくり上がらず、十の位のかけ算でくり上がります。",
      "十の位の積（１けた）に、一の位からのくり上がりをたすと、くり上がります。",
      "十の位の積（２けた）の一の位に、くり上がりをたすと、またくり上がります。"},
     {"47×6＝282", "23×3＝69", "16×3＝48（6×3＝18、1×3＋1＝4）", "42×3＝126（2×3＝6、4×3＝12）",
      "38×3＝114（8×3＝24、3×3＝9、9＋2＝11）", "78×9＝702（8×9＝72、7×9＝63、3＋7＝10）"}},
    {TOperation::Addition,
     {"条件なし。どんな問題も出ます。", "どの位でもくり上がりません。", "一の位からだけくり上がります。",
      "十の位からだけくり上がります（答えが百をこえます）。", "２つ以上の位でくり上がります。",
      "くり上がった１をたすと、その位がまたくり上がります（その位の２つの数字の和が９）。"},
     {"38＋45＝83", "23＋45＝68", "38＋45＝83（8＋5＝13）", "72＋53＝125（7＋5＝12）", "67＋58＝125",
      "45＋58＝103（5＋8＝13、4＋5＋1＝10）"}},
    {TOperation::Subtraction,
     {"条件なし。どんな問題も出ます。", "どの位でもくり下がりません。", "一の位だけが十の位からくり下げます。",
      "十の位だけが百の位からくり下げます。", "２つ以上の位でくり下げます。",
      "くり下げる位が０なので、その上の位からくり下げます。"},
     {"84−27＝57", "87−25＝62", "82−47＝35", "436−172＝264", "432−158＝274",
      "302−158＝144（十の位の０をこえて百の位からくり下げる）"}},
};

QString PatternTable(const TExamples& examples)
{
    const TOperationRules& rules = RulesOf(examples.Operation);
    QString html = QStringLiteral("<h3>%1（「%2」）</h3>\n<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">\n"
                                  "<tr><th>種類</th><th>意味</th><th>例</th></tr>\n")
                       .arg(QString::fromUtf8(rules.Name), QString::fromUtf8(rules.PatternCaption));
    for (size_t i = 0; i < rules.PatternLabels.size(); ++i)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                    .arg(QString::fromStdString(rules.PatternLabels[i]), QString::fromUtf8(examples.Meanings.at(i)),
                         QString::fromUtf8(examples.Examples.at(i)));
    return html + QStringLiteral("</table>\n");
}

}  // namespace

QString ProgramVersion()
{
    return QStringLiteral(TAVELIN_VERSION);
}

QString HelpHtml()
{
    QString html = QStringLiteral(R"(<h2>筆算プリントの作り方</h2>
<ol>
<li>メニューの「計算」で、かけ算・たし算・ひき算を選びます。</li>
<li>「設定」で、上の数と下の数の各位の数字の範囲を入れます（右が一の位）。
たし算・ひき算では上の段がたされる数・ひかれる数、下の段がたす数・ひく数です。
位の範囲が「0～0」のとき、その位の数字は 0 です。いちばん上の位から続く「0～0」の位は書かれないので、数のけた数が少なくなります。
まん中の位を「0～0」にすると、109 のように 0 のある数になります。
決まった単元なら メニューの 設定 ▸ プリセット から選べます。</li>
<li>「答えの範囲」に、答えがおさまる範囲を入れます。</li>
<li>くり上がり・くり下がりの種類を選びます（下の表）。</li>
<li>「問題数」で 12問（３段４列）か 16問（４段４列）を、「枠の有無」でマス目をつけるかを選びます。</li>
<li>「問題文」と「プリント番号」を入れて「プレビュー」を押すと、答えつきのプリントが右に出ます。</li>
<li>「印刷」で問題のプリントを、「印刷（答えつき）」で問題と答えのプリントを印刷します。
印刷できたら、プリント番号が１つ進みます。ファイル ▸ PDFに保存 でも同じです。</li>
</ol>
)");
    for (const TExamples& examples : kExamples) html += PatternTable(examples);
    html += QStringLiteral(R"(<p>条件に合う問題が足りないときは、警告が出て、見つかった数だけの問題になります。
4問より少ないときは印刷できません。範囲を広げてもう一度「プレビュー」を押してください。</p>
<h3>メニュー</h3>
<ul>
<li>ファイル ▸ PDFに保存（問題）／PDFに保存（答えつき）: プリントを PDF ファイルにします（答えつきは２ページ目が答え）。用紙は 設定 ▸ PDFの用紙 で選びます。</li>
<li>ファイル ▸ 印刷プレビュー: 選んだプリンタの用紙で、問題と答えのプリントを確かめられます。</li>
<li>ファイル ▸ まとめて作成: クラスの人数分など、ちがう問題のプリントを続き番号でまとめて作ります（PDF か、ひとつの印刷）。答えのプリントと、答えの CSV ファイルもいっしょに作れます。</li>
<li>ファイル ▸ 履歴: 印刷や保存をしたプリントがすべて残っています。番号で探して、同じ問題のまま印刷し直したり、その設定を使ったりできます。</li>
<li>設定 ▸ 設定を保存／設定を開く: 今の設定をファイルに残し、次の日に読み込めます。</li>
<li>設定 ▸ 最初の設定に戻す: すべての欄を起動したときの値に戻します（プリント番号も 1 になります）。</li>
<li>設定 ▸ 答えに補助数字を書く: たし算とひき算の答えのプリントに、くり上がりの小さな１と、くり下がりで線を引いた数字と新しい数字を書きます。</li>
</ul>)");
    return html;
}

QString AboutHtml()
{
    return QStringLiteral(R"(<h2>Tavelin</h2>
<p>筆算プリント（かけ算・たし算・ひき算）を作るプログラム</p>
<p>バージョン %1</p>
<p>ライセンス: MIT License</p>
<p>Qt 6（LGPLv3）と、表示・印刷に IPA フォントを使っています。</p>)")
        .arg(ProgramVersion());
}
