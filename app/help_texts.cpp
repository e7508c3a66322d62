#include "app/help_texts.h"

#include "worksheet/operations.h"

namespace {

// Every pattern of an operation: its item, what it means and an example.
QString PatternTable(const TOperationRules& rules)
{
    QString html = QStringLiteral("<h3>%1（「%2」）</h3>\n<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">\n"
                                  "<tr><th>種類</th><th>意味</th><th>例</th></tr>\n")
                       .arg(QString::fromUtf8(rules.Name), QString::fromUtf8(rules.PatternCaption));
    for (size_t i = 0; i < rules.PatternLabels.size(); ++i)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                    .arg(QString::fromStdString(rules.PatternLabels[i]), QString::fromStdString(rules.PatternMeanings.at(i)),
                         QString::fromStdString(rules.PatternExamples.at(i)));
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
<li>メニューの「計算」で、かけ算・たし算・ひき算・わり算を選びます。</li>
<li>「設定」で、上の数と下の数の各位の数字の範囲を入れます（右が一の位）。
たし算・ひき算では上の段がたされる数・ひかれる数、下の段がたす数・ひく数です。
わり算では上の段がわられる数、下の段がわる数（一の位と十の位だけ）です。
位の範囲が「0～0」のとき、その位の数字は 0 です。いちばん上の位から続く「0～0」の位は書かれないので、数のけた数が少なくなります。
まん中の位を「0～0」にすると、109 のように 0 のある数になります。
決まった単元なら メニューの 設定 ▸ プリセット から選べます。</li>
<li>「答えの範囲」に、答えがおさまる範囲を入れます。わり算では、商がおさまる範囲です（あまりは入りません）。</li>
<li>くり上がり・くり下がり、わり算の型を選びます（下の表）。わり算では「あまり」のあり・なしも選べます。</li>
<li>「問題数」で 12問（３段４列）か 16問（４段４列）を、「枠の有無」でマス目をつけるかを選びます。</li>
<li>「問題文」と「プリント番号」を入れて「プレビュー」を押すと、答えつきのプリントが右に出ます。</li>
<li>「印刷」で問題のプリントを、「印刷（答えつき）」で問題と答えのプリントを印刷します。
印刷できたら、プリント番号が１つ進みます。ファイル ▸ PDFに保存 でも同じです。</li>
</ol>
)");
    for (const TOperationRules& rules : Operations()) html += PatternTable(rules);
    html += QStringLiteral(R"(<p>わり算の仮商は、わる数を何十とみて見当をつけます（一の位を四捨五入。25 は 30、94 は 90、96 は 100 とみる）。
見当が 10 以上になるときは 9 とします。</p>
<p>条件に合う問題が足りないときは、警告が出て、見つかった数だけの問題になります。
4問より少ないときは印刷できません。範囲を広げてもう一度「プレビュー」を押してください。</p>
<h3>メニュー</h3>
<ul>
<li>ファイル ▸ PDFに保存（問題）／PDFに保存（答えつき）: プリントを PDF ファイルにします（答えつきは２ページ目が答え）。用紙は 設定 ▸ PDFの用紙 で選びます。</li>
<li>ファイル ▸ 印刷プレビュー: 選んだプリンタの用紙で、問題と答えのプリントを確かめられます。</li>
<li>ファイル ▸ まとめて作成: クラスの人数分など、ちがう問題のプリントを続き番号でまとめて作ります（PDF か、ひとつの印刷）。答えのプリントと、答えの CSV ファイルもいっしょに作れます。</li>
<li>ファイル ▸ 診断プリント: 計算を選ぶと、子どものまちがい方（くり下げた10を使うが左の位を1へらしていない、商に立つ0を書いていない、など）を見分ける 12 問のプリントが出ます。答えのプリントには、正答のほかに出やすいまちがいの答えが記号（ア、イ、ウ…）つきで書かれ、記号の意味がいちばん下にあります。その計算がウィンドウの計算なら、ウィンドウの数字の範囲から選びます。</li>
<li>ファイル ▸ 履歴: 印刷や保存をしたプリントがすべて残っています。番号で探して、同じ問題のまま印刷し直したり、その設定を使ったりできます。診断プリントは「答えを入れる」で子どもの答えを入れると、どのまちがい方かがわかります。</li>
<li>設定 ▸ 設定を保存／設定を開く: 今の設定をファイルに残し、次の日に読み込めます。</li>
<li>設定 ▸ 最初の設定に戻す: すべての欄を起動したときの値に戻します（プリント番号も 1 になります）。</li>
<li>設定 ▸ 答えに補助数字を書く: たし算とひき算の答えのプリントに、くり上がりの小さな１と、くり下がりで線を引いた数字と新しい数字を書きます。わり算では、ひき算のところにくり下がりを書きます。</li>
</ul>)");
    return html;
}

QString AboutHtml()
{
    return QStringLiteral(R"(<h2>Tavelin</h2>
<p>筆算プリント（かけ算・たし算・ひき算・わり算）を作るプログラム</p>
<p>バージョン %1</p>
<p>ライセンス: MIT License</p>
<p>Qt 6（LGPLv3）と、表示・印刷に IPA フォントを使っています。</p>)")
        .arg(ProgramVersion());
}
