#include "ui/output_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "print/table_font.h"
#include "ui/panels.h"

namespace tavik::ui {

namespace {

constexpr int kItemRows = 10;  // the thirty boxes stand in three columns of ten
constexpr int kTitleWidth = 376;
constexpr int kCaptionTitleWidth = 170;
constexpr int kLeastTitleWidth = 160;

QSpinBox* Spin(QWidget* parent, const char* name) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setAlignment(Qt::AlignRight);
    s->setMinimumWidth(72);
    s->setRange(1, 1);
    return s;
}

// The library names the outputs and the choices of the matrices in Japanese; the panel
// shows them in the interface's language. Listed here so that the translation file has them.
[[maybe_unused]] constexpr const char* kLibraryTexts[] = {
    QT_TRANSLATE_NOOP("OutputPanel", "組成表テキスト出力、項目選択と表題修正"),
    QT_TRANSLATE_NOOP("OutputPanel", "組成表エクセル出力、項目選択と表題修正"),
    QT_TRANSLATE_NOOP("OutputPanel", "組成表を印刷出力、項目選択と表題修正"),
    QT_TRANSLATE_NOOP("OutputPanel", "組成表の簡易印刷、項目選択と表題修正"),
    QT_TRANSLATE_NOOP("OutputPanel", "数値表をCSV形式で出力"),
    QT_TRANSLATE_NOOP("OutputPanel", "PCord用の数値表をCSV出力"),
    QT_TRANSLATE_NOOP("OutputPanel", "項目組込は左、名称修正は右クリック"),
    QT_TRANSLATE_NOOP("OutputPanel", "級値・積算 (0.1-5)"),
    QT_TRANSLATE_NOOP("OutputPanel", "級値・相対 (1-10)"),
    QT_TRANSLATE_NOOP("OutputPanel", "中央・積算 (1-875)"),
    QT_TRANSLATE_NOOP("OutputPanel", "級値・最大 (0.1-5)"),
    QT_TRANSLATE_NOOP("OutputPanel", "中央・最大 (1-875)"),
    QT_TRANSLATE_NOOP("OutputPanel", "無変・最大 (+-5)"),
    QT_TRANSLATE_NOOP("OutputPanel", "有無のみ （1,0）"),
    QT_TRANSLATE_NOOP("OutputPanel", "行 ＝ 植物"),
    QT_TRANSLATE_NOOP("OutputPanel", "行 ＝ 測定"),
};

QString LibraryText(const char* text) { return QCoreApplication::translate("OutputPanel", text); }

// A titled box ("<name>Box") of one radio button per caption ("<name>0", "<name>1", ...),
// each in `group` with its index as id.
template <std::size_t N>
QGroupBox* RadioBox(QWidget* parent, const QString& title, const char* name, const std::array<const char*, N>& captions,
                    QButtonGroup* group) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name) + QStringLiteral("Box"));
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(8, 2, 8, 2);
    l->setSpacing(0);
    for (std::size_t i = 0; i < N; ++i) {
        auto* rb = new QRadioButton(LibraryText(captions[i]), box);
        rb->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(rb, static_cast<int>(i));
        l->addWidget(rb);
    }
    return box;
}

}  // namespace

OutputPanel::OutputPanel(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("outputPanel"));

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->setSpacing(6);

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("outputHeading"));
    heading_->setTextFormat(Qt::PlainText);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    top->addWidget(heading_);

    top->addLayout(createItemGroup());
    top->addLayout(createTitleRow());
    top->addWidget(createRangeGroup());
    top->addLayout(createButtonRow());

    connect(output_, &QPushButton::clicked, this, &OutputPanel::outputRequested);
    connect(cancel_, &QPushButton::clicked, this, &OutputPanel::cancelRequested);
    connect(editItem_, &QPushButton::clicked, this, &OutputPanel::editCaption);
    for (QCheckBox* box : {frequency_, once_}) connect(box, &QCheckBox::toggled, this, &OutputPanel::choicesChanged);
    for (QButtonGroup* group : {direction_, method_})
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) emit choicesChanged();
        });
}

QLayout* OutputPanel::createItemGroup() {
    // The header items on the left, the matrices' choices on the right.
    auto* middle = new QHBoxLayout;
    middle->setSpacing(10);
    auto* itemGrid = new QGridLayout;
    itemGrid->setHorizontalSpacing(10);
    itemGrid->setVerticalSpacing(1);
    for (int n = 1; n <= kItemCount; ++n) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("itemBox%1").arg(n));
        box->installEventFilter(this);
        items_[static_cast<std::size_t>(n)] = box;
        itemGrid->addWidget(box, (n - 1) % kItemRows, (n - 1) / kItemRows);
    }
    middle->addLayout(itemGrid, 1);

    auto* choices = new QVBoxLayout;
    choices->setSpacing(4);
    direction_ = new QButtonGroup(this);
    directionBox_ = RadioBox(this, QCoreApplication::translate("OutputPanel", "出力方向"), "direction",
                             DirectionCaptions(), direction_);
    directionBox_->setToolTip(QCoreApplication::translate("OutputPanel", "数値表の行と欄の位置づけ"));
    choices->addWidget(directionBox_);
    method_ = new QButtonGroup(this);
    methodBox_ = RadioBox(this, QCoreApplication::translate("OutputPanel", "優占度変換"), "method",
                          ConversionMethodCaptions(), method_);
    methodBox_->setToolTip(
        QCoreApplication::translate("OutputPanel", "階層別の優占度・群度を単一の数値に変換する方法"));
    choices->addWidget(methodBox_);
    choices->addStretch();
    middle->addLayout(choices);
    return middle;
}

QLayout* OutputPanel::createTitleRow() {
    // Title and the two extras of the text layouts.
    auto* titleRow = new QHBoxLayout;
    titleCaption_ = new QLabel(QCoreApplication::translate("OutputPanel", "表題"), this);
    titleCaption_->setObjectName(QStringLiteral("titleCaption"));
    titleRow->addWidget(titleCaption_);
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("outputTitle"));
    title_->setFixedWidth(kTitleWidth);
    titleRow->addWidget(title_);
    titleRow->addSpacing(8);
    frequency_ = new QCheckBox(QCoreApplication::translate("OutputPanel", "出現頻度"), this);
    frequency_->setObjectName(QStringLiteral("frequencyBox"));
    once_ = new QCheckBox(QCoreApplication::translate("OutputPanel", "出現１回の種"), this);
    once_->setObjectName(QStringLiteral("onceSpeciesBox"));
    onceCount_ = new QLabel(this);
    onceCount_->setObjectName(QStringLiteral("onceSpeciesCount"));
    encoding_ = new QComboBox(this);
    encoding_->setObjectName(QStringLiteral("encodingBox"));
    encoding_->addItems({QStringLiteral("CP932"), QStringLiteral("UTF-8")});
    encoding_->setToolTip(QCoreApplication::translate(
        "OutputPanel", "テキストとCSVの文字コード（UTF-8 はどの言語の表計算でも読めます）"));
    titleRow->addWidget(frequency_);
    titleRow->addWidget(once_);
    titleRow->addWidget(onceCount_);
    titleRow->addSpacing(8);
    // 文字コード and its caption, shown and hidden together.
    encodingRow_ = new QWidget(this);
    auto* encodingLayout = new QHBoxLayout(encodingRow_);
    encodingLayout->setContentsMargins(0, 0, 0, 0);
    encodingLayout->addWidget(new QLabel(QCoreApplication::translate("OutputPanel", "文字コード"), encodingRow_));
    encoding_->setParent(encodingRow_);
    encodingLayout->addWidget(encoding_);
    titleRow->addWidget(encodingRow_);
    titleRow->addStretch();
    return titleRow;
}

QWidget* OutputPanel::createRangeGroup() {
    // The ranges (not asked in the configuration).
    ranges_ = new QWidget(this);
    ranges_->setObjectName(QStringLiteral("outputRanges"));
    auto* ranges = new QHBoxLayout(ranges_);
    ranges->setContentsMargins(0, 0, 0, 0);
    speciesCaption_ = new QLabel(QCoreApplication::translate("OutputPanel", "植物の出力範囲"), ranges_);
    firstSpecies_ = Spin(ranges_, "firstSpecies");
    lastSpecies_ = Spin(ranges_, "lastSpecies");
    releveCaption_ = new QLabel(QCoreApplication::translate("OutputPanel", "測定の出力範囲"), ranges_);
    firstReleve_ = Spin(ranges_, "firstReleve");
    lastReleve_ = Spin(ranges_, "lastReleve");
    ranges->addWidget(speciesCaption_);
    ranges->addWidget(firstSpecies_);
    ranges->addWidget(new QLabel(QCoreApplication::translate("OutputPanel", "～"), ranges_));
    ranges->addWidget(lastSpecies_);
    ranges->addSpacing(16);
    ranges->addWidget(releveCaption_);
    ranges->addWidget(firstReleve_);
    ranges->addWidget(new QLabel(QCoreApplication::translate("OutputPanel", "～"), ranges_));
    ranges->addWidget(lastReleve_);
    ranges->addStretch();
    return ranges_;
}

QLayout* OutputPanel::createButtonRow() {
    // The note of the matrices or the font of printing, then the buttons.
    auto* bottom = new QHBoxLayout;
    matrixNote_ =
        new QLabel(QCoreApplication::translate("OutputPanel", "数値表出力では空白の列・行は無視される"), this);
    matrixNote_->setObjectName(QStringLiteral("matrixNote"));
    bottom->addWidget(matrixNote_);
    fontPanel_ = new QFrame(this);
    fontPanel_->setObjectName(QStringLiteral("outputFontPanel"));
    fontPanel_->setFrameShape(QFrame::StyledPanel);
    fontPanel_->setFrameShadow(QFrame::Sunken);
    auto* fl = new QHBoxLayout(fontPanel_);
    fl->setContentsMargins(6, 2, 6, 2);
    fl->addWidget(new QLabel(QCoreApplication::translate("OutputPanel", "印刷フォント："), fontPanel_));
    fontName_ = new QLabel(fontPanel_);
    fontName_->setObjectName(QStringLiteral("outputFontName"));
    fontName_->setTextFormat(Qt::PlainText);
    fontSize_ = new QLabel(fontPanel_);
    fontSize_->setObjectName(QStringLiteral("outputFontSize"));
    QPushButton* changeFont =
        MakePanelButton(fontPanel_, "changeOutputFont", QCoreApplication::translate("OutputPanel", "変更"));
    fl->addWidget(fontName_);
    fl->addWidget(fontSize_);
    fl->addWidget(new QLabel(QStringLiteral("pt"), fontPanel_));
    fl->addWidget(changeFont);
    bottom->addWidget(fontPanel_);
    bottom->addStretch();
    editItem_ = MakePanelButton(this, "editItemCaption", QCoreApplication::translate("OutputPanel", "修正"));
    output_ = MakePanelButton(this, "runOutput", QCoreApplication::translate("OutputPanel", "出力する"));
    cancel_ = MakePanelButton(this, "cancelOutput", QCoreApplication::translate("OutputPanel", "取止める"));
    bottom->addWidget(editItem_);
    bottom->addWidget(output_);
    bottom->addWidget(cancel_);
    connect(changeFont, &QPushButton::clicked, this, &OutputPanel::fontRequested);
    return bottom;
}

void OutputPanel::place() {
    if (QWidget* p = parentWidget()) {
        // Captions longer than the Japanese ones (English, a larger font) take their room from
        // the title field, down to a width that still shows a title; the Japanese captions fit
        // beside the whole field.
        // The sizes are those of the captions just set: the nested rows are measured again.
        layout()->activate();
        const int excess = qMax(sizeHint().width(), minimumSizeHint().width()) - p->width();
        if (excess > 0 && title_->minimumWidth() > kLeastTitleWidth) {
            title_->setFixedWidth(qMax(kLeastTitleWidth, title_->minimumWidth() - excess));
            layout()->activate();
        }
    }
    adjustSize();
    if (QWidget* p = parentWidget()) {
        // Inside the grid area, to the right, as far as the panel fits.
        resize(qMin(width(), p->width()), qMin(height(), p->height()));
        move(qMax(0, p->width() - width() - 28), qMax(0, qMin(24, p->height() - height())));
    }
}

void OutputPanel::setPanelColour(bool configuration) {
    // The configuration stands out in pale yellow; the outputs have the usual face.
    QPalette pal = QApplication::palette(this);
    if (configuration) pal.setColor(QPalette::Window, QColor(255, 255, 176));
    setPalette(pal);
}

void OutputPanel::setRanges(int speciesCount, int releveCount) {
    const auto set = [](QSpinBox* first, QSpinBox* last, int count) {
        // With nothing on the axis the range is empty (1..0): the spin edits show 0.
        for (QSpinBox* s : {first, last}) s->setRange(count < 1 ? 0 : 1, qMax(0, count));
        first->setValue(count < 1 ? 0 : 1);
        last->setValue(qMax(0, count));
    };
    set(firstSpecies_, lastSpecies_, speciesCount);
    set(firstReleve_, lastReleve_, releveCount);
}

void OutputPanel::openForOutput(OutputMode mode, const PanelItems& items, int speciesCount, int releveCount,
                                const OutputOptions& o) {
    mode_ = mode;
    editedItem_ = 0;
    setPanelColour(false);
    output_->setText(QCoreApplication::translate("OutputPanel", "出力する"));
    editItem_->hide();
    title_->setText(QString::fromStdString(o.title));
    title_->setFixedWidth(kTitleWidth);
    heading_->setText(LibraryText(OutputModeHeading(mode)));
    const bool printing = mode == OutputMode::Print || mode == OutputMode::SimplePrint;
    fontPanel_->setVisible(printing);
    showFont(QString::fromStdString(o.fontName), o.fontSize);
    const bool matrix = mode == OutputMode::ValueMatrix || mode == OutputMode::PCordMatrix;
    for (int n = 1; n <= kItemCount; ++n) {
        QCheckBox* box = items_[static_cast<std::size_t>(n)];
        const PanelItem& item = items[static_cast<std::size_t>(n)];
        box->setText(item.caption);
        // Greying for the matrices is display only: the table's items stay as they are.
        box->setEnabled(item.enabled && !matrix);
        if (item.enabled) box->setChecked(item.checked);
    }
    matrixNote_->setVisible(matrix);
    for (QWidget* w :
         std::initializer_list<QWidget*>{frequency_, once_, onceCount_, encodingRow_, directionBox_, methodBox_})
        w->show();
    frequency_->setEnabled(!matrix);
    once_->setEnabled(!matrix);
    methodBox_->setEnabled(matrix);
    directionBox_->setEnabled(mode == OutputMode::ValueMatrix);
    {
        // Showing the kept choices is not a change of them.
        const QSignalBlocker b1(frequency_), b2(once_), b3(direction_), b4(method_);
        frequency_->setChecked(o.frequency);
        once_->setChecked(o.onceSpecies);
        encoding_->setCurrentIndex(o.encoding == TextEncoding::Utf8 ? 1 : 0);
        if (QAbstractButton* b = direction_->button(o.direction)) b->setChecked(true);
        if (QAbstractButton* b = method_->button(o.method)) b->setChecked(true);
    }
    titleCaption_->setText(QCoreApplication::translate("OutputPanel", "表題"));
    ranges_->show();
    setRanges(speciesCount, releveCount);
    place();
    show();
    raise();
    output_->setFocus();
}

void OutputPanel::openForConfiguration(const PanelItems& items) {
    mode_ = OutputMode::ItemConfiguration;
    editedItem_ = 0;
    setPanelColour(true);
    heading_->setText(LibraryText(OutputModeHeading(mode_)));
    output_->setText(QCoreApplication::translate("OutputPanel", "設定する"));
    editItem_->show();
    fontPanel_->hide();
    matrixNote_->hide();
    title_->clear();
    title_->setFixedWidth(kCaptionTitleWidth);
    for (int n = 1; n <= kItemCount; ++n) {
        QCheckBox* box = items_[static_cast<std::size_t>(n)];
        const PanelItem& item = items[static_cast<std::size_t>(n)];
        box->setText(item.caption);
        box->setEnabled(true);
        box->setChecked(item.checked);
    }
    // The title field serves for correcting an item's name.
    titleCaption_->setText(QCoreApplication::translate("OutputPanel", "項目名"));
    ranges_->hide();
    // What only outputs use is not shown while items are configured.
    for (QWidget* w :
         std::initializer_list<QWidget*>{frequency_, once_, onceCount_, encodingRow_, directionBox_, methodBox_})
        w->hide();
    place();
    show();
    raise();
    output_->setFocus();
}

OutputOptions OutputPanel::choices() const {
    OutputOptions o;
    o.mode = mode_;
    for (int n = 1; n <= kItemCount; ++n) {
        const QCheckBox* box = items_[static_cast<std::size_t>(n)];
        o.items[static_cast<std::size_t>(n)] = box->isChecked();
    }
    o.speciesFrom = firstSpecies_->value();
    o.speciesTo = lastSpecies_->value();
    o.releveFrom = firstReleve_->value();
    o.releveTo = lastReleve_->value();
    o.title = title_->text().toStdString();
    o.frequency = frequency();
    o.onceSpecies = onceSpecies();
    o.direction = direction();
    o.method = method();
    o.encoding = utf8Files() ? TextEncoding::Utf8 : TextEncoding::Cp932;
    return o;
}

std::array<bool, kItemCount + 1> OutputPanel::ticks() const {
    std::array<bool, kItemCount + 1> t{};
    for (int n = 1; n <= kItemCount; ++n)
        t[static_cast<std::size_t>(n)] = items_[static_cast<std::size_t>(n)]->isChecked();
    return t;
}

bool OutputPanel::frequency() const { return frequency_->isChecked(); }
bool OutputPanel::onceSpecies() const { return once_->isChecked(); }
bool OutputPanel::utf8Files() const { return encoding_->currentIndex() == 1; }

void OutputPanel::showOnceSpeciesCount(int count) {
    onceCount_->setText(count > 0 ? QCoreApplication::translate("OutputPanel", "（%1 種）").arg(count) : QString());
    onceCount_->setToolTip(
        count > 0 ? QCoreApplication::translate("OutputPanel", "出現１回の種は、このボックスを選ばないと出力されません")
                  : QString());
    // The count widens the title's row after the panel was placed: placed again, the title
    // field gives it room instead of lying over the boxes beside it.
    if (isVisible()) place();
}
int OutputPanel::direction() const { return qMax(0, direction_->checkedId()); }
int OutputPanel::method() const {
    const int id = method_->checkedId();
    return id < 0 ? 1 : id;
}

void OutputPanel::showFont(const QString& family, int pointSize) {
    // The font printing really uses: a name that is not installed stands for another.
    const QString used = ResolveFontFamily(family);
    fontName_->setText(used);
    fontName_->setToolTip(used == family
                              ? QString()
                              : QCoreApplication::translate("OutputPanel", "%1 の代わりに使うフォント").arg(family));
    fontSize_->setText(QString::number(pointSize));
    fontPanel_->update();
}

QString OutputPanel::itemCaption(int item) const {
    return item >= 1 && item <= kItemCount ? items_[static_cast<std::size_t>(item)]->text() : QString();
}

QCheckBox* OutputPanel::itemBox(int item) const {
    return item >= 1 && item <= kItemCount ? items_[static_cast<std::size_t>(item)] : nullptr;
}

void OutputPanel::editCaption() {
    if (editedItem_ < 1 || editedItem_ > kItemCount) return;
    items_[static_cast<std::size_t>(editedItem_)]->setText(title_->text());
    emit captionEdited(editedItem_, title_->text());
}

bool OutputPanel::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        for (int n = 1; n <= kItemCount; ++n) {
            if (watched != items_[static_cast<std::size_t>(n)]) continue;
            // Any press forgets the item taken before; a right-click takes this one's name
            // into the title field (to become the title, or to be corrected).
            editedItem_ = 0;
            if (static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
                title_->setText(items_[static_cast<std::size_t>(n)]->text());
                editedItem_ = n;
                return true;
            }
            break;
        }
    }
    return QFrame::eventFilter(watched, e);
}

void OutputPanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        emit cancelRequested();
        return;
    }
    QFrame::keyPressEvent(e);
}

}  // namespace tavik::ui
