#include "ui/constancy_panel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace tavik::ui {

ConstancyPanel::ConstancyPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("constancyPanel"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    hide();

    auto* heading = new QLabel(QStringLiteral("常在度表を作成する"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    releves_ = new QLabel(QStringLiteral("0"), this);
    releves_->setObjectName(QStringLiteral("releveCount"));
    groups_ = new QLabel(QStringLiteral("1"), this);
    groups_->setObjectName(QStringLiteral("groupCount"));
    title_ = new QLineEdit(QStringLiteral("常在度表"), this);
    title_->setObjectName(QStringLiteral("constancyTitle"));
    title_->setMinimumWidth(260);

    auto* kindBox = new QGroupBox(this);
    kindBox->setObjectName(QStringLiteral("constancyKind"));
    auto* kindLayout = new QVBoxLayout(kindBox);
    kind_ = new QButtonGroup(this);
    const QString kinds[kConstancyKindCount] = {
        QStringLiteral("常在度級 Ⅰ～Ⅴ　と　優占度"), QStringLiteral("常在度級 Ⅰ～Ⅹ　と　優占度"),
        QStringLiteral("常在度級 Ⅰ～Ⅴ　のみ"), QStringLiteral("常在度級 Ⅰ～Ⅹ　のみ"),
        QStringLiteral("出現数をそのまま示す")};
    for (int i = 0; i < kConstancyKindCount; ++i) {
        auto* b = new QRadioButton(kinds[i], kindBox);
        b->setObjectName(QStringLiteral("constancyKind%1").arg(i));
        kind_->addButton(b, i);
        kindLayout->addWidget(b);
    }
    kind_->button(0)->setChecked(true);

    auto* cellBox = new QGroupBox(this);
    cellBox->setObjectName(QStringLiteral("absentCells"));
    auto* cellLayout = new QVBoxLayout(cellBox);
    cell_ = new QButtonGroup(this);
    const QString cells[2] = {QStringLiteral("空白セルは  ・"), QStringLiteral("空白セルは空白")};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(cells[i], cellBox);
        b->setObjectName(QStringLiteral("absentCells%1").arg(i));
        cell_->addButton(b, i);
        cellLayout->addWidget(b);
    }
    cell_->button(0)->setChecked(true);

    cancel_ = new QPushButton(QStringLiteral("取止める"), this);
    cancel_->setObjectName(QStringLiteral("cancelConstancy"));
    output_ = new QPushButton(QStringLiteral("出力する"), this);
    output_->setObjectName(QStringLiteral("outputConstancy"));
    connect(output_, &QPushButton::clicked, this, &ConstancyPanel::outputRequested);
    connect(cancel_, &QPushButton::clicked, this, &ConstancyPanel::cancelRequested);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(10);
    grid->addWidget(heading, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("全測定数"), this), 1, 0);
    grid->addWidget(releves_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("区分数"), this), 1, 2);
    grid->addWidget(groups_, 1, 3);
    grid->addWidget(title_, 2, 0, 1, 4);
    grid->addWidget(kindBox, 3, 0, 1, 4);
    grid->addWidget(cellBox, 4, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(output_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 5, 0, 1, 4);
}

void ConstancyPanel::place() {
    adjustSize();
    if (QWidget* p = parentWidget()) move(qMax(0, p->width() - width() - 28), 40);
}

void ConstancyPanel::open(const ConstancyCounts& counts, const QString& title) {
    releves_->setText(QString::number(counts.releves));
    groups_->setText(QString::number(counts.groups));
    title_->setText(title);
    place();
    show();
    raise();
    output_->setFocus();
}

ConstancyOptions ConstancyPanel::options() const {
    ConstancyOptions o;
    o.kind = static_cast<ConstancyKind>(qMax(0, kind_->checkedId()));
    o.blankAbsent = cell_->checkedId() == 1;
    o.title = S(title_->text());
    return o;
}

void ConstancyPanel::setKind(ConstancyKind kind) { kind_->button(static_cast<int>(kind))->setChecked(true); }
void ConstancyPanel::setBlankAbsent(bool blank) { cell_->button(blank ? 1 : 0)->setChecked(true); }
QString ConstancyPanel::releveCountText() const { return releves_->text(); }
QString ConstancyPanel::groupCountText() const { return groups_->text(); }

void ConstancyPanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        (focused ? focused : output_)->click();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        cancel_->click();
        return;
    }
    QFrame::keyPressEvent(e);
}

}  // namespace tavik::ui
