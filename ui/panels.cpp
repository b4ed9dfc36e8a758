#include "ui/panels.h"

#include <QComboBox>
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

namespace {
void MakeFloating(QFrame* f, const QString& name) {
    f->setObjectName(name);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    f->setLineWidth(2);
    f->setAutoFillBackground(true);
    f->hide();
}

// Top-right corner of the parent, clear of its scroll bar.
void PlaceTopRight(QWidget* w, int top) {
    w->adjustSize();
    if (QWidget* p = w->parentWidget())
        w->move(qMax(0, p->width() - w->width() - 28), top);
}
}  // namespace

// ---- Speed buttons -------------------------------------------------------------------------

SpeedButton::SpeedButton(const QString& name, const QString& caption, QWidget* parent)
    : QToolButton(parent) {
    setObjectName(name);
    setText(caption);
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void SpeedButton::mousePressEvent(QMouseEvent* e) {
    setDown(true);
    e->accept();
}

void SpeedButton::mouseReleaseEvent(QMouseEvent* e) {
    setDown(false);
    e->accept();
    if (rect().contains(e->position().toPoint())) emit releasedWith(e->button());
}

SpeedPanel::SpeedPanel(const QString& name, QWidget* parent) : QFrame(parent) {
    MakeFloating(this, name);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(2, 2, 2, 2);
    lay->setSpacing(2);
}

SpeedButton* SpeedPanel::AddButton(const QString& name, const QString& caption) {
    auto* b = new SpeedButton(name, caption, this);
    layout()->addWidget(b);
    buttons_.append(b);
    adjustSize();
    return b;
}

SpeedButton* SpeedPanel::ButtonAt(const QPoint& globalPos) const {
    if (!isVisible()) return nullptr;
    for (SpeedButton* b : buttons_)
        if (b->rect().contains(b->mapFromGlobal(globalPos))) return b;
    return nullptr;
}

void SpeedPanel::ShowAt(const QPoint& topLeft) {
    adjustSize();
    QPoint p = topLeft;
    if (QWidget* par = parentWidget()) {
        p.setX(qBound(0, p.x(), qMax(0, par->width() - width())));
        p.setY(qBound(0, p.y(), qMax(0, par->height() - height())));
    }
    move(p);
    show();
    raise();
}

// ---- Long cell text ------------------------------------------------------------------------

CellTextPanel::CellTextPanel(QWidget* parent) : QFrame(parent) {
    MakeFloating(this, QStringLiteral("Panel_ShowCell"));
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

void CellTextPanel::ShowText(const QString& text, int rightX, int topY) {
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

QString CellTextPanel::Text() const { return label_->text(); }

// ---- Range panel -----------------------------------------------------------------------------

RangePanel::RangePanel(QWidget* parent) : QFrame(parent) {
    MakeFloating(this, QStringLiteral("PanelofSortRange"));
    Label13 = new QLabel(QStringLiteral("並び替え"), this);
    Label13->setObjectName(QStringLiteral("Label13"));
    QFont bold = Label13->font();
    bold.setBold(true);
    Label13->setFont(bold);

    auto spin = [this](const char* name, int min) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(min, 1);
        s->setMinimumWidth(80);
        s->setAlignment(Qt::AlignRight);
        return s;
    };
    SS1 = spin("SS1", 1);
    SS2 = spin("SS2", 1);
    SN1 = spin("SN1", 1);
    SN2 = spin("SN2", 1);
    Label11 = new QLabel(QStringLiteral("↓"), this);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label4 = new QLabel(QStringLiteral("→"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    speciesCaption = new QLabel(QStringLiteral("植物"), this);
    releveCaption = new QLabel(QStringLiteral("測定"), this);

    GBox1 = new QGroupBox(this);
    GBox1->setObjectName(QStringLiteral("GBox1"));
    RB_des = new QRadioButton(QStringLiteral("多順"), GBox1);
    RB_des->setObjectName(QStringLiteral("RB_des"));
    RB_asc = new QRadioButton(QStringLiteral("少順"), GBox1);
    RB_asc->setObjectName(QStringLiteral("RB_asc"));
    RB_des->setChecked(true);
    auto* gl = new QHBoxLayout(GBox1);
    gl->setContentsMargins(8, 4, 8, 4);
    gl->addWidget(RB_des);
    gl->addWidget(RB_asc);

    BtnSortGo = new QPushButton(QStringLiteral("実行"), this);
    BtnSortGo->setObjectName(QStringLiteral("BtnSortGo"));
    BtnSortGo->setDefault(true);
    BtnSortStp = new QPushButton(QStringLiteral("中止"), this);
    BtnSortStp->setObjectName(QStringLiteral("BtnSortStp"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->addWidget(Label13, 0, 0, 1, 4);
    grid->addWidget(speciesCaption, 1, 0);
    grid->addWidget(SS1, 1, 1);
    grid->addWidget(Label11, 1, 2, Qt::AlignCenter);
    grid->addWidget(SS2, 1, 3);
    grid->addWidget(releveCaption, 2, 0);
    grid->addWidget(SN1, 2, 1);
    grid->addWidget(Label4, 2, 2, Qt::AlignCenter);
    grid->addWidget(SN2, 2, 3);
    grid->addWidget(GBox1, 3, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnSortGo);
    buttons->addWidget(BtnSortStp);
    grid->addLayout(buttons, 4, 0, 1, 4);
}

void RangePanel::Place() { PlaceTopRight(this, 40); }

void RangePanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        (focused && focused->isVisible() ? focused : BtnSortGo)->click();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        BtnSortStp->click();
        return;
    }
    QFrame::keyPressEvent(e);
}

// ---- Search panel ----------------------------------------------------------------------------

SearchPanel::SearchPanel(QWidget* parent) : QFrame(parent) {
    MakeFloating(this, QStringLiteral("QueryPanel"));
    QueryLabel = new QLabel(QStringLiteral("検索する文字列"), this);
    QueryLabel->setObjectName(QStringLiteral("QueryLabel"));
    QueryBox = new QComboBox(this);
    QueryBox->setObjectName(QStringLiteral("QueryBox"));
    QueryBox->setEditable(true);
    QueryBox->setInsertPolicy(QComboBox::NoInsert);
    QueryBox->setMinimumWidth(260);
    QueryBox->installEventFilter(this);
    if (QueryBox->lineEdit()) QueryBox->lineEdit()->installEventFilter(this);
    QueryBtn1 = new QPushButton(QStringLiteral("完全一致"), this);
    QueryBtn1->setObjectName(QStringLiteral("QueryBtn1"));
    QueryBtn2 = new QPushButton(QStringLiteral("部分一致"), this);
    QueryBtn2->setObjectName(QStringLiteral("QueryBtn2"));
    QueryCancelBtn = new QPushButton(QStringLiteral("中止"), this);
    QueryCancelBtn->setObjectName(QStringLiteral("QueryCancelBtn"));
    for (QPushButton* b : {QueryBtn1, QueryBtn2, QueryCancelBtn}) b->setAutoDefault(false);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(12, 10, 12, 10);
    lay->addWidget(QueryLabel);
    lay->addWidget(QueryBox);
    auto* row = new QHBoxLayout;
    row->addWidget(QueryBtn1);
    row->addWidget(QueryBtn2);
    row->addStretch();
    row->addWidget(QueryCancelBtn);
    lay->addLayout(row);
}

void SearchPanel::Place() { PlaceTopRight(this, 40); }

bool SearchPanel::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            emit enterPressed();
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            emit escapePressed();
            return true;
        }
    }
    return QFrame::eventFilter(watched, e);
}

void SearchPanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        emit escapePressed();
        return;
    }
    QFrame::keyPressEvent(e);
}

}  // namespace tavik::ui
