#include "ui/constancy_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
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

    auto* heading = new QLabel(QCoreApplication::translate("ConstancyPanel", "常在度表を作成する"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    releves_ = new QLabel(QStringLiteral("0"), this);
    releves_->setObjectName(QStringLiteral("releveCount"));
    groups_ = new QLabel(QStringLiteral("1"), this);
    groups_->setObjectName(QStringLiteral("groupCount"));
    title_ = new QLineEdit(QCoreApplication::translate("ConstancyPanel", "常在度表"), this);
    title_->setObjectName(QStringLiteral("constancyTitle"));
    title_->setMinimumWidth(260);

    QGroupBox* kindBox = createKindGroup();
    QGroupBox* cellBox = createCellGroup();
    QGroupBox* fidelityBox = createFidelityGroup();

    cancel_ = new QPushButton(QCoreApplication::translate("ConstancyPanel", "取止める"), this);
    cancel_->setObjectName(QStringLiteral("cancelConstancy"));
    output_ = new QPushButton(QCoreApplication::translate("ConstancyPanel", "出力する"), this);
    output_->setObjectName(QStringLiteral("outputConstancy"));
    connect(output_, &QPushButton::clicked, this, &ConstancyPanel::outputRequested);
    connect(cancel_, &QPushButton::clicked, this, &ConstancyPanel::cancelRequested);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(10);
    grid->addWidget(heading, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QCoreApplication::translate("ConstancyPanel", "全測定数"), this), 1, 0);
    grid->addWidget(releves_, 1, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("ConstancyPanel", "区分数"), this), 1, 2);
    grid->addWidget(groups_, 1, 3);
    grid->addWidget(title_, 2, 0, 1, 4);
    grid->addWidget(kindBox, 3, 0, 1, 4);
    grid->addWidget(cellBox, 4, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(output_);
    buttons->addWidget(cancel_);
    grid->addWidget(fidelityBox, 5, 0, 1, 4);
    grid->addLayout(buttons, 6, 0, 1, 4);
}

QGroupBox* ConstancyPanel::createKindGroup() {
    auto* kindBox = new QGroupBox(this);
    kindBox->setObjectName(QStringLiteral("constancyKind"));
    auto* kindLayout = new QVBoxLayout(kindBox);
    kind_ = new QButtonGroup(this);
    const QString kinds[kConstancyKindCount] = {
        QCoreApplication::translate("ConstancyPanel", "常在度級 Ⅰ～Ⅴ　と　優占度"),
        QCoreApplication::translate("ConstancyPanel", "常在度級 Ⅰ～Ⅹ　と　優占度"),
        QCoreApplication::translate("ConstancyPanel", "常在度級 Ⅰ～Ⅴ　のみ"),
        QCoreApplication::translate("ConstancyPanel", "常在度級 Ⅰ～Ⅹ　のみ"),
        QCoreApplication::translate("ConstancyPanel", "出現数をそのまま示す")};
    for (int i = 0; i < kConstancyKindCount; ++i) {
        auto* b = new QRadioButton(kinds[i], kindBox);
        b->setObjectName(QStringLiteral("constancyKind%1").arg(i));
        kind_->addButton(b, i);
        kindLayout->addWidget(b);
    }
    kind_->button(0)->setChecked(true);
    return kindBox;
}

QGroupBox* ConstancyPanel::createCellGroup() {
    auto* cellBox = new QGroupBox(this);
    cellBox->setObjectName(QStringLiteral("absentCells"));
    auto* cellLayout = new QVBoxLayout(cellBox);
    cell_ = new QButtonGroup(this);
    const QString cells[2] = {QCoreApplication::translate("ConstancyPanel", "空白セルは  ・"),
                              QCoreApplication::translate("ConstancyPanel", "空白セルは空白")};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(cells[i], cellBox);
        b->setObjectName(QStringLiteral("absentCells%1").arg(i));
        cell_->addButton(b, i);
        cellLayout->addWidget(b);
    }
    cell_->button(0)->setChecked(true);
    return cellBox;
}

QGroupBox* ConstancyPanel::createFidelityGroup() {
    // Fidelity: phi in the cells, the shading of diagnostic species, the blocks.
    auto* fidelityBox = new QGroupBox(this);
    fidelityBox->setObjectName(QStringLiteral("fidelityBox"));
    auto* fidelityLayout = new QGridLayout(fidelityBox);
    fidelity_ = new QCheckBox(QCoreApplication::translate("ConstancyPanel", "忠実度（φ係数）を表示する"), fidelityBox);
    fidelity_->setObjectName(QStringLiteral("showFidelity"));
    equalize_ = new QCheckBox(QCoreApplication::translate("ConstancyPanel", "区分の大きさを均等化する"), fidelityBox);
    equalize_->setObjectName(QStringLiteral("equalizeGroups"));
    equalize_->setChecked(true);
    threshold_ = new QSpinBox(fidelityBox);
    threshold_->setObjectName(QStringLiteral("fidelityThreshold"));
    threshold_->setRange(0, 100);
    threshold_->setValue(30);
    alpha_ = new QComboBox(fidelityBox);
    alpha_->setObjectName(QStringLiteral("fidelityAlpha"));
    alpha_->addItems({QStringLiteral("0.05"), QStringLiteral("0.01"), QStringLiteral("0.001"),
                      QCoreApplication::translate("ConstancyPanel", "なし")});
    fidelityLayout->addWidget(fidelity_, 0, 0, 1, 2);
    fidelityLayout->addWidget(equalize_, 1, 0, 1, 2);
    fidelityLayout->addWidget(
        new QLabel(QCoreApplication::translate("ConstancyPanel", "診断種の閾値　φ×100 ≧"), fidelityBox), 2, 0);
    fidelityLayout->addWidget(threshold_, 2, 1);
    fidelityLayout->addWidget(
        new QLabel(QCoreApplication::translate("ConstancyPanel", "有意水準（Fisher の正確確率検定）"), fidelityBox), 3,
        0);
    fidelityLayout->addWidget(alpha_, 3, 1);
    return fidelityBox;
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
bool ConstancyPanel::showFidelity() const { return fidelity_->isChecked(); }

FidelityOptions ConstancyPanel::fidelityOptions() const {
    FidelityOptions o;
    o.equalize = equalize_->isChecked();
    o.threshold = threshold_->value();
    if (alpha_->currentIndex() == alpha_->count() - 1) o.alpha.reset();
    else o.alpha = alpha_->currentText().toDouble();
    return o;
}

void ConstancyPanel::setShowFidelity(bool on) { fidelity_->setChecked(on); }

void ConstancyPanel::setFidelityOptions(const FidelityOptions& o) {
    equalize_->setChecked(o.equalize);
    threshold_->setValue(static_cast<int>(o.threshold));
    int index = alpha_->count() - 1;
    if (o.alpha)
        for (int i = 0; i + 1 < alpha_->count(); ++i)
            if (alpha_->itemText(i).toDouble() == *o.alpha) index = i;
    alpha_->setCurrentIndex(index);
}

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
