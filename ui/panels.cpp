#include "ui/panels.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavik::ui {

void MakeFloatingPanel(QFrame* f, const QString& name) {
    f->setObjectName(name);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    f->setLineWidth(2);
    f->setAutoFillBackground(true);
    f->hide();
}

QPushButton* MakePanelButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

namespace {

// Top-right corner of the parent, clear of its scroll bar.
void PlaceTopRight(QWidget* w, int top) {
    w->adjustSize();
    if (QWidget* p = w->parentWidget()) w->move(qMax(0, p->width() - w->width() - 28), top);
}
}  // namespace

// ---- Pop-up buttons -------------------------------------------------------------------------

PopupButton::PopupButton(const QString& name, const QString& caption, QWidget* parent) : QToolButton(parent) {
    setObjectName(name);
    setText(caption);
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void PopupButton::mousePressEvent(QMouseEvent* e) {
    setDown(true);
    e->accept();
}

void PopupButton::mouseReleaseEvent(QMouseEvent* e) {
    setDown(false);
    e->accept();
    if (rect().contains(e->position().toPoint())) emit releasedWith(e->button());
}

PopupButtonBar::PopupButtonBar(const QString& name, QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, name);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(2, 2, 2, 2);
    lay->setSpacing(2);
}

PopupButton* PopupButtonBar::addButton(const QString& name, const QString& caption) {
    auto* b = new PopupButton(name, caption, this);
    layout()->addWidget(b);
    buttons_.append(b);
    adjustSize();
    return b;
}

PopupButton* PopupButtonBar::buttonAt(const QPoint& globalPos) const {
    if (!isVisible()) return nullptr;
    for (PopupButton* b : buttons_)
        if (b->rect().contains(b->mapFromGlobal(globalPos))) return b;
    return nullptr;
}

void PopupButtonBar::showBeside(const QPoint& pointer, bool leftFirst) {
    adjustSize();
    const int w = width(), h = height();
    constexpr int gap = 8;  // room for the pointer's own shape beside the bar
    const int right = pointer.x() + gap, left = pointer.x() - gap - w;
    const int above = pointer.y() - gap - h, below = pointer.y() + gap, middle = pointer.y() - h / 2;
    const int first = leftFirst ? left : right, second = leftFirst ? right : left;
    const QPoint tries[] = {{first, above},  {second, above}, {first, below},
                            {second, below}, {first, middle}, {second, middle}};
    QWidget* par = parentWidget();
    auto inside = [&](QPoint p) {
        if (!par) return p;
        return QPoint(qBound(0, p.x(), qMax(0, par->width() - w)), qBound(0, p.y(), qMax(0, par->height() - h)));
    };
    QPoint chosen = inside(tries[0]);
    for (const QPoint& t : tries) {
        const QPoint p = inside(t);
        if (!QRect(p, size()).adjusted(-1, -1, 1, 1).contains(pointer)) {
            chosen = p;
            break;
        }
    }
    move(chosen);
    show();
    raise();
}

// ---- Long cell text ------------------------------------------------------------------------

CellTextPanel::CellTextPanel(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("cellTextPanel"));
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);
    label_ = new QLabel(this);
    label_->setTextFormat(Qt::PlainText);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(6, 2, 6, 2);
    lay->addWidget(label_);
    // Never in the way of the mouse that shows it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CellTextPanel::showText(const QString& text, int rightX, int topY) {
    label_->setText(text);
    adjustSize();
    int x = rightX - width();
    if (QWidget* p = parentWidget()) {
        x = qBound(0, x, qMax(0, p->width() - width()));
        topY = qBound(0, topY, qMax(0, p->height() - height()));
    }
    move(x, topY);
    show();
    raise();
}

QString CellTextPanel::text() const { return label_->text(); }

// ---- Range panel -----------------------------------------------------------------------------

RangePanel::RangePanel(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("rangePanel"));
    title_ = new QLabel(QCoreApplication::translate("RangePanel", "並び替え"), this);
    title_->setObjectName(QStringLiteral("rangeTitle"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);

    auto spin = [this](const char* name) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(1, 1);
        s->setMinimumWidth(80);
        s->setAlignment(Qt::AlignRight);
        return s;
    };
    firstSpecies_ = spin("firstSpecies");
    lastSpecies_ = spin("lastSpecies");
    firstReleve_ = spin("firstReleve");
    lastReleve_ = spin("lastReleve");
    speciesArrow_ = new QLabel(QStringLiteral("↓"), this);
    releveArrow_ = new QLabel(QStringLiteral("→"), this);
    speciesCaption_ = new QLabel(QCoreApplication::translate("RangePanel", "植物"), this);
    releveCaption_ = new QLabel(QCoreApplication::translate("RangePanel", "測定"), this);

    orderBox_ = new QGroupBox(this);
    orderBox_->setObjectName(QStringLiteral("sortOrder"));
    descending_ = new QRadioButton(QCoreApplication::translate("RangePanel", "多順"), orderBox_);
    descending_->setObjectName(QStringLiteral("descending"));
    ascending_ = new QRadioButton(QCoreApplication::translate("RangePanel", "少順"), orderBox_);
    ascending_->setObjectName(QStringLiteral("ascending"));
    descending_->setChecked(true);
    auto* gl = new QHBoxLayout(orderBox_);
    gl->setContentsMargins(8, 4, 8, 4);
    gl->addWidget(descending_);
    gl->addWidget(ascending_);

    apply_ = new QPushButton(QCoreApplication::translate("RangePanel", "実行"), this);
    apply_->setObjectName(QStringLiteral("applyRange"));
    apply_->setDefault(true);
    cancel_ = new QPushButton(QCoreApplication::translate("RangePanel", "中止"), this);
    cancel_->setObjectName(QStringLiteral("cancelRange"));
    connect(apply_, &QPushButton::clicked, this, &RangePanel::applyRequested);
    connect(cancel_, &QPushButton::clicked, this, &RangePanel::cancelRequested);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->addWidget(title_, 0, 0, 1, 4);
    grid->addWidget(speciesCaption_, 1, 0);
    grid->addWidget(firstSpecies_, 1, 1);
    grid->addWidget(speciesArrow_, 1, 2, Qt::AlignCenter);
    grid->addWidget(lastSpecies_, 1, 3);
    grid->addWidget(releveCaption_, 2, 0);
    grid->addWidget(firstReleve_, 2, 1);
    grid->addWidget(releveArrow_, 2, 2, Qt::AlignCenter);
    grid->addWidget(lastReleve_, 2, 3);
    grid->addWidget(orderBox_, 3, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 4, 0, 1, 4);
}

void RangePanel::place() { PlaceTopRight(this, 40); }

void RangePanel::open(const QString& title, bool askSpecies, bool askReleves, bool askOrder) {
    title_->setText(title);
    for (QWidget* w : {static_cast<QWidget*>(speciesCaption_), static_cast<QWidget*>(firstSpecies_),
                       static_cast<QWidget*>(speciesArrow_), static_cast<QWidget*>(lastSpecies_)})
        w->setVisible(askSpecies);
    for (QWidget* w : {static_cast<QWidget*>(releveCaption_), static_cast<QWidget*>(firstReleve_),
                       static_cast<QWidget*>(releveArrow_), static_cast<QWidget*>(lastReleve_)})
        w->setVisible(askReleves);
    orderBox_->setVisible(askOrder);
    place();
    show();
    raise();
    apply_->setFocus();
}

void RangePanel::openForSpeciesSort(int speciesCount) {
    for (QSpinBox* s : {firstSpecies_, lastSpecies_}) s->setRange(1, qMax(1, speciesCount));
    firstSpecies_->setValue(1);
    lastSpecies_->setValue(speciesCount);
    open(QCoreApplication::translate("RangePanel", "並び替えをする植物範囲の指定"), true, false, true);
}

void RangePanel::openForReleveSort(int releveCount) {
    for (QSpinBox* s : {firstReleve_, lastReleve_}) s->setRange(1, qMax(1, releveCount));
    firstReleve_->setValue(1);
    lastReleve_->setValue(releveCount);
    open(QCoreApplication::translate("RangePanel", "並び替えをする範囲の指定"), false, true, true);
}

void RangePanel::openForHiding(const TableRange& range, int releveCount, int speciesCount) {
    for (QSpinBox* s : {firstReleve_, lastReleve_}) s->setRange(1, qMax(1, releveCount));
    for (QSpinBox* s : {firstSpecies_, lastSpecies_}) s->setRange(1, qMax(1, speciesCount));
    firstReleve_->setValue(range.q1);
    lastReleve_->setValue(range.q2);
    firstSpecies_->setValue(range.p1);
    lastSpecies_->setValue(range.p2);
    open(QCoreApplication::translate("RangePanel", "一時的に隠す範囲の指定"),
         firstSpecies_->value() != lastSpecies_->value(), firstReleve_->value() != lastReleve_->value(), false);
}

TableRange RangePanel::range() const {
    return {firstReleve_->value(), lastReleve_->value(), firstSpecies_->value(), lastSpecies_->value()};
}

bool RangePanel::descending() const { return descending_->isChecked(); }

void RangePanel::setDescending(bool on) { (on ? descending_ : ascending_)->setChecked(true); }

QString RangePanel::title() const { return title_->text(); }

void RangePanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        (focused && focused->isVisible() ? focused : apply_)->click();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        cancel_->click();
        return;
    }
    QFrame::keyPressEvent(e);
}

// ---- Search panel ----------------------------------------------------------------------------

SearchPanel::SearchPanel(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("searchPanel"));
    prompt_ = new QLabel(QCoreApplication::translate("SearchPanel", "検索する文字列"), this);
    prompt_->setObjectName(QStringLiteral("searchPrompt"));
    text_ = new QComboBox(this);
    text_->setObjectName(QStringLiteral("searchText"));
    text_->setEditable(true);
    text_->setInsertPolicy(QComboBox::NoInsert);
    text_->setMinimumWidth(260);
    text_->installEventFilter(this);
    if (text_->lineEdit()) text_->lineEdit()->installEventFilter(this);
    auto* exact = new QPushButton(QCoreApplication::translate("SearchPanel", "完全一致"), this);
    exact->setObjectName(QStringLiteral("searchExact"));
    auto* partial = new QPushButton(QCoreApplication::translate("SearchPanel", "部分一致"), this);
    partial->setObjectName(QStringLiteral("searchPartial"));
    auto* cancel = new QPushButton(QCoreApplication::translate("SearchPanel", "中止"), this);
    cancel->setObjectName(QStringLiteral("searchCancel"));
    for (QPushButton* b : {exact, partial, cancel}) b->setAutoDefault(false);
    connect(exact, &QPushButton::clicked, this, &SearchPanel::exactRequested);
    connect(partial, &QPushButton::clicked, this, &SearchPanel::partialRequested);
    connect(cancel, &QPushButton::clicked, this, &SearchPanel::cancelRequested);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(12, 10, 12, 10);
    lay->addWidget(prompt_);
    lay->addWidget(text_);
    auto* row = new QHBoxLayout;
    row->addWidget(exact);
    row->addWidget(partial);
    row->addStretch();
    row->addWidget(cancel);
    lay->addLayout(row);
}

void SearchPanel::place() { PlaceTopRight(this, 40); }

void SearchPanel::open() {
    prompt_->setText(QCoreApplication::translate("SearchPanel", "検索する文字列"));
    place();
    show();
    raise();
    text_->setFocus();
    text_->lineEdit()->selectAll();
}

QString SearchPanel::takeText() {
    const QString typed = text_->currentText();
    text_->addItem(typed);
    text_->setCurrentIndex(text_->count() - 1);
    return typed;
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            emit partialRequested();
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            emit cancelRequested();
            return true;
        }
    }
    return QFrame::eventFilter(watched, e);
}

void SearchPanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        emit cancelRequested();
        return;
    }
    QFrame::keyPressEvent(e);
}

}  // namespace tavik::ui
