#include "app/fmain.h"

#include "recipe/sheet_recipe.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <vector>

#include "app/control_specs.h"
#include "app/controls.h"
#include "app/application.h"
#include "app/glyphs.h"
#include "app/history_log.h"
#include "app/spoken_names.h"
#include "render/paper_size.h"
#include <QAction>
#include "render/qt_canvas.h"
#include "render/qt_fonts.h"
#include "sheets/settings_file.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"
#include "worksheet/text_to_int.h"

namespace {

constexpr int kToolTipDuration = 2500;  // ms

// The face by its installed family: no substitution to look up at start.
QFont FontOf(const TFontSpec& wanted, const QFont& base)
{
    if (wanted.Face.empty()) return base;
    QFont font(InstalledFamily(wanted.Face));
    font.setPixelSize(wanted.PixelHeight);
    return font;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tavelin"));
    setWindowIcon(ProgramIcon());
    setFont(FontOf(DefaultWindowFont(), font()));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    BuildControls();
    BuildMenus();
    ClientArea->move(0, MenuBar->sizeHint().height());
    // Below the laid-out controls: what the preview shows, with its seed.
    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setAccessibleName(QStringLiteral("状態"));
    StatusLine->setTextFormat(Qt::PlainText);
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    StatusLine->setGeometry(8, ClientArea->y() + kClientHeight, kClientWidth - 16, kStatusLineHeight);
    ConnectHandlers();
    // The history is never written over, from the start.
    HistoryLog();
    FormCreate();
}

void TForm1::BuildControls()
{
    // The controls stand in the client area, below the menu bar, at the
    // positions of the control table.
    QWidget* client = ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setGeometry(0, 0, kClientWidth, kClientHeight);
    struct TTabStop {
        int Order;
        std::vector<QWidget*> Widgets;
    };
    std::vector<TTabStop> tabStops;

    for (const TControlSpec& control : ControlSpecs()) {
        QWidget* widget = nullptr;
        switch (control.Kind) {
        case TControlKind::Bevel: widget = new TBevel(client); break;
        case TControlKind::Shape: widget = new TShape(client); break;
        case TControlKind::PaintBox: widget = PaintBox1 = new TPaintBox(client); break;
        case TControlKind::Label: {
            auto* label = new QLabel(QString::fromStdString(control.Text), client);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case TControlKind::Edit:
        case TControlKind::DigitEdit: {
            // Its text comes after its font: laid out once.
            auto* edit = new QLineEdit(client);
            edit->setFont(FontOf(control.Font, font()));
            edit->setText(QString::fromStdString(control.Text));
            if (control.MaxLength > 0) edit->setMaxLength(control.MaxLength);
            if (control.Kind == TControlKind::DigitEdit) {
                edit->setTextMargins(0, 0, 0, 0);
                edit->setAlignment(Qt::AlignCenter);
                edit->installEventFilter(this);
            }
            widget = edit;
            break;
        }
        case TControlKind::RadioGroup:
            widget = new TRadioGroup(QString::fromStdString(control.Text), control.Items, client, control.ItemsInOneRow);
            break;
        case TControlKind::Button: {
            auto* button = new QPushButton(GlyphIcon(control.Glyph), QString::fromStdString(control.Text), client);
            button->setIconSize(QSize(16, 16));
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        }
        widget->setObjectName(QString::fromStdString(control.Name));
        // The font before the size: what lays itself out does so once.
        widget->setFont(FontOf(control.Font, font()));
        widget->setGeometry(control.Left, control.Top, control.Width, control.Height);
        if (control.Font.HasColor) {
            QPalette pal = widget->palette();
            pal.setColor(QPalette::WindowText, QColor::fromRgb(control.Font.Color));
            widget->setPalette(pal);
        }
        if (!control.Hint.empty()) {
            widget->setToolTip(QString::fromStdString(control.Hint));
            widget->setToolTipDuration(kToolTipDuration);
        }
        widget->setEnabled(control.Enabled);
        if (!control.Visible) widget->hide();
        controls_[control.Name] = widget;

        if (control.TabOrder >= 0) {
            std::vector<QWidget*> stops{widget};
            if (auto* group = dynamic_cast<TRadioGroup*>(widget))
                stops.assign(group->Buttons().begin(), group->Buttons().end());
            tabStops.push_back({control.TabOrder, stops});
        }
    }

    std::sort(tabStops.begin(), tabStops.end(), [](const TTabStop& a, const TTabStop& b) { return a.Order < b.Order; });
    QWidget* previous = nullptr;
    for (const TTabStop& stop : tabStops) {
        for (QWidget* w : stop.Widgets) {
            if (previous) QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }

    auto edit = [this](const char* name) { return static_cast<QLineEdit*>(controls_.at(name)); };
    auto group = [this](const char* name) { return static_cast<TRadioGroup*>(controls_.at(name)); };
    auto button = [this](const char* name) { return static_cast<QPushButton*>(controls_.at(name)); };
    QstSentence = edit("QstSentence");
    AnsLow = edit("AnsLow");
    AnsHigh = edit("AnsHigh");
    PrnNum = edit("PrnNum");
    rgKuriagari = group("rgKuriagari");
    QNumPattern = group("QNumPattern");
    rgWaku = group("rgWaku");
    btnPreview = button("btnPreview");
    btnPrint = button("btnPrint");
    btnMaintenance = button("btnMaintenance");
    btnPrintWithAns = button("btnPrintWithAns");
    btnClose = button("btnClose");

    controls_.at("u1l")->setFocus();
    NameBoxesForScreenReaders();
}

void TForm1::NameBoxesForScreenReaders()
{
    for (const TTextField& field : TextFields()) controls_.at(field.Name)->setAccessibleName(SpokenBoxName(field.Name, operation_));
    PaintBox1->setAccessibleName(QStringLiteral("プレビュー画面"));
}

void TForm1::ConnectHandlers()
{
    const std::pair<QPushButton*, void (TForm1::*)()> commands[] = {
        {btnPreview, &TForm1::btnPreviewClick},
        {btnPrint, &TForm1::btnPrintClick},
        {btnPrintWithAns, &TForm1::btnPrintWithAnsClick},
        {btnMaintenance, &TForm1::btnMaintenanceClick},
    };
    for (const auto& [button, handler] : commands)
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { RunGuarded([&] { (this->*handler)(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    // The group's 12 and 16 are the counts of 大きなマス too.
    for (size_t i = 0; i < QNumPattern->Buttons().size(); ++i)
        connect(QNumPattern->Buttons()[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) SetProblemCount(i == 0 ? 12 : 16);
        });
    // The sentence and the grid are read at every drawing: the box shows a
    // change at once.
    connect(QstSentence, &QLineEdit::textChanged, PaintBox1, qOverload<>(&QWidget::update));
    for (QRadioButton* item : rgWaku->Buttons())
        connect(item, &QRadioButton::toggled, PaintBox1, qOverload<>(&QWidget::update));
    PaintBox1->OnPaint = [this](QPainter& painter) {
        TQtCanvas canvas(painter);
        PaintBox1Paint(canvas);
    };
}

void TForm1::FormCreate()
{
    // The window is taller than the laid-out client area by the menu bar
    // and the status line.
    resize(kClientWidth, ClientArea->y() + kClientHeight + kStatusLineHeight);
    shown_.Start(PrnNum->text().toStdString());
}

void TForm1::KuhakuCheck(QLineEdit* sender)
{
    if (sender->text().isEmpty()) sender->setText(QStringLiteral("0"));
}

TWorksheetSettings TForm1::Settings() const
{
    TWorksheetSettings settings;
    settings.Operation = operation_;
    for (const TFlagField& flag : FlagFields())
        if (const QAction* item = Action(std::string("act") + flag.Name)) settings.*flag.Member = item->isChecked();
    for (const TTextField& field : TextFields())
        settings.*field.Member = static_cast<QLineEdit*>(controls_.at(field.Name))->text().toStdString();
    for (const TChoiceField& field : ChoiceFields())
        settings.*field.Member = static_cast<TRadioGroup*>(controls_.at(field.Name))->ItemIndex();
    settings.CellMM = cellMM_;
    settings.Problems = ProblemsOfForm(settings, problems_);
    settings.DigitFont = digitFont_;
    return settings;
}

void TForm1::SetSettings(const TSettingsFile& file)
{
    // The operation first: choosing it sets the pattern group anew.
    if (file.Named.count(kOperationKey)) SetOperation(file.Values.Operation);
    for (const TFlagField& flag : FlagFields())
        if (QAction* item = Action(std::string("act") + flag.Name); item && file.Named.count(flag.Name))
            item->setChecked(file.Values.*flag.Member);
    for (const TTextField& field : TextFields())
        if (file.Named.count(field.Name))
            static_cast<QLineEdit*>(controls_.at(field.Name))->setText(QString::fromStdString(file.Values.*field.Member));
    for (const TChoiceField& field : ChoiceFields())
        if (file.Named.count(field.Name))
            static_cast<TRadioGroup*>(controls_.at(field.Name))->SetItemIndex(file.Values.*field.Member);
    if (file.Named.count(kCellKey)) SetLayout(file.Values.CellMM);
    if (file.Named.count(kProblemsKey)) SetProblemCount(file.Values.Problems);
    if (file.Named.count(kDigitFontKey)) SetDigitFont(file.Values.DigitFont);
}

TPageView TForm1::PageView() const
{
    TPageView view{PaintBox1->width(), PaintBox1->height(), QstSentence->text().toStdString(), rgWaku->ItemIndex(),
                   CarryMarks()};
    // 大きなマス: the inside of the PDF paper's margins, scaled to the box.
    view.CellMM = cellMM_;
    view.DigitFont = digitFont_;
    const QAction* readingMarks = Action("actReadingMarks");
    TWorksheetSettings drawn;
    drawn.Operation = operation_;
    drawn.Kuriagari = rgKuriagari->ItemIndex();
    view.ReadingMarks = readingMarks && readingMarks->isChecked() && CarriesRecipe(drawn);
    const TPaperSize& paper = PaperSizeNamed(PaperName(pdfPaper_));
    view.DotsPerMm = std::min(view.RefWidth / (paper.WidthMm - 2 * kSheetMarginMm),
                              view.RefHeight / (paper.HeightMm - 2 * kSheetMarginMm));
    view.PaperName = paper.Name;
    return view;
}

void TForm1::SetOperation(TOperation operation)
{
    const bool changed = operation != operation_;
    operation_ = operation;
    if (QAction* item = Action(OperationActionName(operation))) item->setChecked(true);
    if (!changed) return;
    const TOperationRules& rules = RulesOf(operation);
    static_cast<QLabel*>(Control("Label14"))->setText(QString::fromStdString(TitleText(operation)));
    static_cast<QLabel*>(Control("Label2"))->setText(QString::fromUtf8(rules.Sign));
    rgKuriagari->SetItems(QString::fromUtf8(rules.PatternCaption), rules.PatternLabels);
    // The places the second number does not have (a divisor's hundreds and
    // thousands) hold 0 and take no input, and get back what they held when
    // another operation is chosen.
    for (int32_t place = 1; place <= 4; ++place)
        for (const char end : {'l', 'h'}) {
            const std::string name = std::string("d") + static_cast<char>('0' + place) + end;
            auto* box = static_cast<QLineEdit*>(Control(name));
            const bool unused = place > rules.SecondPlaces;
            if (unused && box->isEnabled()) {
                placesBefore_[name] = box->text();
                box->setText(QStringLiteral("0"));
            } else if (!unused && !box->isEnabled()) {
                box->setText(placesBefore_[name]);
            }
            box->setEnabled(!unused);
        }
    // The options the operation offers, and no others.
    Control("rgAmari")->setVisible(rules.HasRemainder);
    ShowDecimalPlaces(rules.Decimal());
    if (QAction* partialSums = Action("actPartialSumCarry")) partialSums->setEnabled(rules.PartialSums);
    NameBoxesForScreenReaders();
    ClearPreview();
}

void TForm1::ShowDecimalPlaces(bool shown)
{
    const int32_t band = shown ? kDecimalBandHeight : 0;
    for (const TControlSpec& control : ControlSpecs()) {
        QWidget* widget = Control(control.Name);
        if (!widget) continue;
        if (control.DecimalPlace) {
            widget->setVisible(shown);
        } else if (control.Left < kDecimalBandRight && control.Top >= kDecimalBandTop) {
            widget->move(control.Left, control.Top + band);
        } else if (control.Left < kDecimalBandRight && control.Top + control.Height > kDecimalBandTop) {
            // A frame around the band grows with it.
            widget->resize(control.Width, control.Height + band);
        }
    }
    ClientArea->resize(kClientWidth, kClientHeight + band);
    StatusLine->move(StatusLine->x(), ClientArea->y() + kClientHeight + band);
    const int32_t height = ClientArea->y() + kClientHeight + band + kStatusLineHeight;
    if (this->height() != height) resize(width(), height);
}

bool TForm1::CarryMarks() const
{
    const QAction* marks = Action("actCarryMarks");
    return marks && marks->isChecked();
}

void TForm1::SetCarryMarks(bool marks)
{
    if (QAction* item = Action("actCarryMarks")) item->setChecked(marks);
}

void TForm1::MakePrint(TCanvas& canvas, int32_t W, int32_t H)
{
    ::MakePrint(canvas, W, H, PageView());
}

QWidget* TForm1::Control(const std::string& name) const
{
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Losing the focus to another program, to a popup or to the menu
        // bar is not leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason)
            KuhakuCheck(static_cast<QLineEdit*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    // The menu bar spans the window; the controls do not move.
    MenuBar->setGeometry(0, 0, width(), MenuBar->sizeHint().height());
    QWidget::resizeEvent(event);
}

void TForm1::showEvent(QShowEvent* event)
{
    if (!shownOnce_) {
        shownOnce_ = true;
        if (QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}
