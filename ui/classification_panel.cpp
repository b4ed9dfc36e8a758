#include "ui/classification_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/panels.h"

namespace tavik::ui {

GroupCountBox::GroupCountBox(QWidget* parent) : QSpinBox(parent) {
    setRange(1, 1);
    setMinimumWidth(170);
}

void GroupCountBox::setCounts(std::map<int, int> counts) {
    counts_ = std::move(counts);
    // The shown text changes with the counts.
    const int v = value();
    blockSignals(true);
    setValue(minimum() == v ? maximum() : minimum());
    setValue(v);
    blockSignals(false);
}

QString GroupCountBox::textFromValue(int value) const {
    const auto it = counts_.find(value);
    if (it == counts_.end()) return QString::number(value);
    return QCoreApplication::translate("ClassificationPanel", "%1（忠実な種 %2）").arg(value).arg(it->second);
}

int GroupCountBox::valueFromText(const QString& text) const {
    int i = 0;
    while (i < text.size() && text[i].isDigit()) ++i;
    return text.left(i).toInt();
}

QValidator::State GroupCountBox::validate(QString& text, int&) const {
    int i = 0;
    while (i < text.size() && text[i].isDigit()) ++i;
    if (i == 0) return QValidator::Intermediate;
    const int v = text.left(i).toInt();
    if (v < minimum() || v > maximum()) return QValidator::Intermediate;
    return QValidator::Acceptable;
}

ClassificationPanel::ClassificationPanel(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("classificationPanel"));
    auto* heading = new QLabel(QCoreApplication::translate("ClassificationPanel", "クラスター分析で群に分ける"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    QGroupBox* dataBox = createDataGroup();
    QGroupBox* methodBox = createMethodGroup();
    compute_ = MakePanelButton(this, "computeClusters", QCoreApplication::translate("ClassificationPanel", "計算する"));

    QGroupBox* groupBox = createGroupCountGroup();

    place_ = MakePanelButton(this, "placeGroups", QCoreApplication::translate("ClassificationPanel", "群を表に入れる"));
    close_ = MakePanelButton(this, "closeClassification", QCoreApplication::translate("ClassificationPanel", "閉じる"));
    connect(compute_, &QPushButton::clicked, this, &ClassificationPanel::computeRequested);
    connect(place_, &QPushButton::clicked, this, &ClassificationPanel::placeRequested);
    connect(close_, &QPushButton::clicked, this, &ClassificationPanel::closeRequested);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->addWidget(heading, 0, 0, 1, 2);
    grid->addWidget(dataBox, 1, 0, 1, 2);
    grid->addWidget(methodBox, 2, 0, 1, 2);
    auto* computeRow = new QHBoxLayout;
    computeRow->addStretch();
    computeRow->addWidget(compute_);
    grid->addLayout(computeRow, 3, 0, 1, 2);
    grid->addWidget(groupBox, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(place_);
    buttons->addWidget(close_);
    grid->addLayout(buttons, 5, 0, 1, 2);
    clearResult();
}

QGroupBox* ClassificationPanel::createDataGroup() {
    auto* dataBox = new QGroupBox(QCoreApplication::translate("ClassificationPanel", "データ"), this);
    auto* dataLayout = new QGridLayout(dataBox);
    method_ = new QComboBox(dataBox);
    method_->setObjectName(QStringLiteral("clusterMethod"));
    method_->addItems({QCoreApplication::translate("ClassificationPanel", "0 階級値の合計（0.1-5）"),
                       QCoreApplication::translate("ClassificationPanel", "1 階級値の相対値（1-10）"),
                       QCoreApplication::translate("ClassificationPanel", "2 中央値の合計（1-875）"),
                       QCoreApplication::translate("ClassificationPanel", "3 最大層の階級値（0.1-5）"),
                       QCoreApplication::translate("ClassificationPanel", "4 最大層の中央値（1-875）"),
                       QCoreApplication::translate("ClassificationPanel", "5 最大層そのまま（+-5）"),
                       QCoreApplication::translate("ClassificationPanel", "6 在・不在（1,0）")});
    sqrt_ = new QCheckBox(QCoreApplication::translate("ClassificationPanel", "平方根に変換する"), dataBox);
    sqrt_->setObjectName(QStringLiteral("clusterSqrt"));
    dataLayout->addWidget(new QLabel(QCoreApplication::translate("ClassificationPanel", "変換方法"), dataBox), 0, 0);
    dataLayout->addWidget(method_, 0, 1);
    dataLayout->addWidget(sqrt_, 1, 1);
    return dataBox;
}

QGroupBox* ClassificationPanel::createMethodGroup() {
    auto* methodBox = new QGroupBox(QCoreApplication::translate("ClassificationPanel", "方法"), this);
    auto* methodLayout = new QGridLayout(methodBox);
    distance_ = new QComboBox(methodBox);
    distance_->setObjectName(QStringLiteral("clusterDistance"));
    distance_->addItems({QStringLiteral("Bray–Curtis"),
                         QCoreApplication::translate("ClassificationPanel", "Jaccard（在・不在）"),
                         QCoreApplication::translate("ClassificationPanel", "Sørensen（在・不在）"),
                         QCoreApplication::translate("ClassificationPanel", "ユークリッド"),
                         QCoreApplication::translate("ClassificationPanel", "コード（chord）")});
    linkage_ = new QComboBox(methodBox);
    linkage_->setObjectName(QStringLiteral("clusterLinkage"));
    linkage_->addItems({QCoreApplication::translate("ClassificationPanel", "Ward 法"),
                        QCoreApplication::translate("ClassificationPanel", "可変法（β-flexible）"),
                        QCoreApplication::translate("ClassificationPanel", "群平均法（UPGMA）"),
                        QCoreApplication::translate("ClassificationPanel", "最遠隣法"),
                        QCoreApplication::translate("ClassificationPanel", "最近隣法")});
    beta_ = new QDoubleSpinBox(methodBox);
    beta_->setObjectName(QStringLiteral("clusterBeta"));
    beta_->setRange(-1, 0);
    beta_->setSingleStep(0.05);
    beta_->setDecimals(2);
    beta_->setValue(-0.25);
    beta_->setEnabled(false);
    connect(linkage_, &QComboBox::currentIndexChanged, this, [this](int i) { beta_->setEnabled(i == 1); });
    methodLayout->addWidget(new QLabel(QCoreApplication::translate("ClassificationPanel", "距離"), methodBox), 0, 0);
    methodLayout->addWidget(distance_, 0, 1);
    methodLayout->addWidget(new QLabel(QCoreApplication::translate("ClassificationPanel", "結合法"), methodBox), 1, 0);
    methodLayout->addWidget(linkage_, 1, 1);
    methodLayout->addWidget(new QLabel(QStringLiteral("β"), methodBox), 2, 0);
    methodLayout->addWidget(beta_, 2, 1);
    return methodBox;
}

QGroupBox* ClassificationPanel::createGroupCountGroup() {
    auto* groupBox = new QGroupBox(QCoreApplication::translate("ClassificationPanel", "群の数"), this);
    auto* groupLayout = new QGridLayout(groupBox);
    releves_ = new QLabel(groupBox);
    releves_->setObjectName(QStringLiteral("clusterReleves"));
    k_ = new GroupCountBox(groupBox);
    k_->setObjectName(QStringLiteral("clusterGroups"));
    scan_ = new QLabel(groupBox);
    scan_->setObjectName(QStringLiteral("clusterScan"));
    QFont fixed(QStringLiteral("monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    scan_->setFont(fixed);
    byScore_ = new QCheckBox(QCoreApplication::translate("ClassificationPanel", "群の中を反復平均法のスコア順に並べる"),
                             groupBox);
    byScore_->setObjectName(QStringLiteral("clusterByScore"));
    groupLayout->addWidget(releves_, 0, 0, 1, 2);
    groupLayout->addWidget(new QLabel(QStringLiteral("K"), groupBox), 1, 0);
    groupLayout->addWidget(k_, 1, 1);
    groupLayout->addWidget(scan_, 2, 0, 1, 2);
    groupLayout->addWidget(byScore_, 3, 0, 1, 2);
    connect(k_, &QSpinBox::valueChanged, this, &ClassificationPanel::groupsChanged);
    return groupBox;
}

void ClassificationPanel::place() {
    adjustSize();
    if (QWidget* p = parentWidget()) move(qMax(0, p->width() - width() - 28), 30);
}

void ClassificationPanel::open() {
    place();
    show();
    raise();
    compute_->setFocus();
}

ClusterOptions ClassificationPanel::options() const {
    ClusterOptions o;
    o.method = method_->currentIndex();
    o.sqrt = sqrt_->isChecked();
    o.distance = static_cast<ClusterDistance>(distance_->currentIndex());
    o.linkage = static_cast<ClusterLinkage>(linkage_->currentIndex());
    o.beta = beta_->value();
    return o;
}

void ClassificationPanel::setOptions(const ClusterOptions& o) {
    method_->setCurrentIndex(o.method);
    sqrt_->setChecked(o.sqrt);
    distance_->setCurrentIndex(static_cast<int>(o.distance));
    linkage_->setCurrentIndex(static_cast<int>(o.linkage));
    beta_->setValue(o.beta);
}

int ClassificationPanel::groups() const { return k_->value(); }
void ClassificationPanel::setGroups(int k) { k_->setValue(k); }
bool ClassificationPanel::orderByScore() const { return byScore_->isChecked(); }
QString ClassificationPanel::scanText() const { return scan_->text(); }

void ClassificationPanel::showResult(int releves, const std::vector<KScanLine>& scan, int proposedK) {
    releves_->setText(QCoreApplication::translate("ClassificationPanel", "分類した測定 %1").arg(releves));
    std::map<int, int> counts;
    QString text = QCoreApplication::translate("ClassificationPanel", "K　忠実な種");
    for (const KScanLine& l : scan) {
        counts[l.k] = l.faithful;
        text += QLatin1Char('\n') + QCoreApplication::translate("ClassificationPanel", "%1　%2%3")
                                        .arg(l.k, 2)
                                        .arg(l.faithful, 5)
                                        .arg(l.k == proposedK ? QStringLiteral(" ←") : QString());
    }
    scan_->setText(text);
    k_->blockSignals(true);
    k_->setRange(1, std::max(1, releves));
    k_->setCounts(std::move(counts));
    k_->setValue(proposedK);
    k_->blockSignals(false);
    k_->setEnabled(true);
    place_->setEnabled(true);
    adjustSize();
}

void ClassificationPanel::clearResult() {
    releves_->setText(QCoreApplication::translate("ClassificationPanel", "「計算する」で樹形図を作ります"));
    scan_->clear();
    k_->setEnabled(false);
    place_->setEnabled(false);
}

void ClassificationPanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        emit closeRequested();
        return;
    }
    QFrame::keyPressEvent(e);
}

}  // namespace tavik::ui
