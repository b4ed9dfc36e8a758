#include "ui/retrieval_panel.h"

#include "ui/panels.h"
#include "ui/qt_text.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavik::ui {

namespace {
QLabel* Counter(QWidget* parent, const char* name) {
    auto* l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(56);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}
}  // namespace

RetrievalPanel::RetrievalPanel(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("retrievalPanel"));

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(12, 10, 12, 10);
    top->setSpacing(8);

    auto* heading = new QLabel(QCoreApplication::translate("RetrievalPanel", "組成表にデータを加える"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    top->addWidget(heading);

    top->addLayout(createFileRow());
    top->addWidget(createConditionGroup());
    top->addLayout(createRangeGroup());
    top->addLayout(createCounterGroup());
    addButtonRows(top);
}

QLayout* RetrievalPanel::createFileRow() {
    fileNameLabel_ = new QLabel(this);
    fileNameLabel_->setObjectName(QStringLiteral("dataFileName"));
    fileNameLabel_->setTextFormat(Qt::PlainText);
    fileNameLabel_->setMinimumWidth(120);
    fileNameLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "データファイル："), this));
    fileRow->addWidget(fileNameLabel_, 1);
    QPushButton* changeFile =
        MakePanelButton(this, "changeDataFile", QCoreApplication::translate("RetrievalPanel", "データファイル変更"));
    fileRow->addWidget(changeFile);
    connect(changeFile, &QPushButton::clicked, this, &RetrievalPanel::changeFileRequested);
    return fileRow;
}

QWidget* RetrievalPanel::createConditionGroup() {
    // Five conditions: name, lowest class, connective.
    auto* conds =
        new QGroupBox(QCoreApplication::translate("RetrievalPanel", "抽出条件（植物名・最低優占度・条件）"), this);
    auto* cg = new QGridLayout(conds);
    cg->setHorizontalSpacing(8);
    cg->setVerticalSpacing(4);
    cg->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "植物名"), conds), 0, 1);
    cg->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "優占度"), conds), 0, 2);
    const QStringList classes = {QStringLiteral("+"), QStringLiteral("1"), QStringLiteral("2"),
                                 QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")};
    const QStringList connectives = {QCoreApplication::translate("RetrievalPanel", "または"),
                                     QCoreApplication::translate("RetrievalPanel", "そして"),
                                     QCoreApplication::translate("RetrievalPanel", "なし")};
    for (int k = 0; k < kConditionCount; ++k) {
        cg->addWidget(new QLabel(QString::number(k + 1), conds), k + 1, 0);
        names_[k] = new QLineEdit(conds);
        names_[k]->setObjectName(QStringLiteral("speciesName%1").arg(k + 1));
        names_[k]->setMinimumWidth(200);
        cg->addWidget(names_[k], k + 1, 1);
        classes_[k] = new QComboBox(conds);
        classes_[k]->setObjectName(QStringLiteral("coverClass%1").arg(k + 1));
        classes_[k]->addItems(classes);
        classes_[k]->setCurrentIndex(0);
        cg->addWidget(classes_[k], k + 1, 2);
        connectives_[k] = new QButtonGroup(this);
        connectives_[k]->setObjectName(QStringLiteral("connective%1").arg(k + 1));
        auto* rowLay = new QHBoxLayout;
        for (int i = 0; i < connectives.size(); ++i) {
            auto* rb = new QRadioButton(connectives[i], conds);
            rb->setObjectName(QStringLiteral("connective%1_%2").arg(k + 1).arg(i));
            connectives_[k]->addButton(rb, i);
            rowLay->addWidget(rb);
        }
        connectives_[k]->button(static_cast<int>(Connective::And))->setChecked(true);
        cg->addLayout(rowLay, k + 1, 3);
    }
    return conds;
}

QLayout* RetrievalPanel::createRangeGroup() {
    // Mesh prefix and record range.
    auto* where = new QGridLayout;
    where->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "対象地理区画コード"), this), 0, 0);
    meshPrefix_ = new QLineEdit(this);
    meshPrefix_->setObjectName(QStringLiteral("meshPrefix"));
    meshPrefix_->setMaximumWidth(140);
    where->addWidget(meshPrefix_, 0, 1, 1, 3, Qt::AlignLeft);
    where->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "対象レコード範囲"), this), 1, 0);
    firstRecord_ = new QSpinBox(this);
    firstRecord_->setObjectName(QStringLiteral("firstRecord"));
    lastRecord_ = new QSpinBox(this);
    lastRecord_->setObjectName(QStringLiteral("lastRecord"));
    for (QSpinBox* s : {firstRecord_, lastRecord_}) {
        s->setRange(0, 0);
        s->setMinimumWidth(90);
        s->setAlignment(Qt::AlignRight);
    }
    where->addWidget(firstRecord_, 1, 1);
    where->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "～"), this), 1, 2);
    where->addWidget(lastRecord_, 1, 3);
    where->setColumnStretch(4, 1);
    return where;
}

QLayout* RetrievalPanel::createCounterGroup() {
    // Counters.
    releveCount_ = Counter(this, "tableReleveCount");
    speciesCount_ = Counter(this, "tableSpeciesCount");
    searching_ = Counter(this, "searchingRecord");
    hits_ = Counter(this, "hitCount");
    auto* counts = new QGridLayout;
    counts->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", " 現在の組成表　　測定数＝"), this), 0,
                      0);
    counts->addWidget(releveCount_, 0, 1);
    counts->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", " 植物数＝"), this), 0, 2);
    counts->addWidget(speciesCount_, 0, 3);
    counts->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "調査中 ⇒"), this), 1, 0,
                      Qt::AlignRight);
    counts->addWidget(searching_, 1, 1);
    counts->addWidget(new QLabel(QCoreApplication::translate("RetrievalPanel", "抽出数＝"), this), 1, 2,
                      Qt::AlignRight);
    counts->addWidget(hits_, 1, 3);
    counts->setColumnStretch(4, 1);
    return counts;
}

void RetrievalPanel::addButtonRows(QVBoxLayout* top) {
    // Buttons.
    QPushButton* scanNew = MakePanelButton(this, "scanNew", QCoreApplication::translate("RetrievalPanel", "新規抽出"));
    QPushButton* scanAdditional =
        MakePanelButton(this, "scanAdditional", QCoreApplication::translate("RetrievalPanel", "追加抽出"));
    QPushButton* reset =
        MakePanelButton(this, "resetConditions", QCoreApplication::translate("RetrievalPanel", "初期化"));
    QPushButton* standardNames =
        MakePanelButton(this, "standardNames", QCoreApplication::translate("RetrievalPanel", "標準名に変換"));
    QPushButton* putIntoTable =
        MakePanelButton(this, "putIntoTable", QCoreApplication::translate("RetrievalPanel", "表へ組み込む"));
    QPushButton* close =
        MakePanelButton(this, "closeRetrieval", QCoreApplication::translate("RetrievalPanel", "組み込まず終了"));
    auto* b1 = new QHBoxLayout;
    b1->addWidget(scanNew);
    b1->addWidget(scanAdditional);
    b1->addWidget(reset);
    b1->addWidget(standardNames);
    top->addLayout(b1);
    auto* b2 = new QHBoxLayout;
    b2->addStretch();
    b2->addWidget(putIntoTable);
    b2->addWidget(close);
    top->addLayout(b2);

    connect(scanNew, &QPushButton::clicked, this, [this] { emit scanRequested(false); });
    connect(scanAdditional, &QPushButton::clicked, this, [this] { emit scanRequested(true); });
    connect(reset, &QPushButton::clicked, this, &RetrievalPanel::resetRequested);
    connect(standardNames, &QPushButton::clicked, this, &RetrievalPanel::standardNamesRequested);
    connect(putIntoTable, &QPushButton::clicked, this, &RetrievalPanel::putIntoTableRequested);
    connect(close, &QPushButton::clicked, this, &RetrievalPanel::closeRequested);
}

void RetrievalPanel::place() {
    adjustSize();
    if (QWidget* p = parentWidget())
        move(qMax(0, p->width() - width() - 28), qMax(0, qMin(40, p->height() - height())));
}

ScanParams RetrievalPanel::conditions(bool additional) const {
    ScanParams s;
    for (int k = 0; k < kConditionCount; ++k) {
        s.conditions[k].name = names_[k]->text().toStdString();
        s.conditions[k].coverClass = classes_[k]->currentIndex();
        const int id = connectives_[k]->checkedId();
        s.conditions[k].connective = static_cast<Connective>(id < 0 ? 1 : id);
    }
    s.meshPrefix = meshPrefix_->text().toStdString();
    s.first = firstRecord_->value();
    s.last = lastRecord_->value();
    s.additional = additional;
    return s;
}

void RetrievalPanel::setCondition(int index, const QString& name, int coverClass, Connective connective) {
    if (index < 0 || index >= kConditionCount) return;
    names_[index]->setText(name);
    classes_[index]->setCurrentIndex(coverClass);
    if (QAbstractButton* b = connectives_[index]->button(static_cast<int>(connective))) b->setChecked(true);
}

void RetrievalPanel::clearConditions() {
    meshPrefix_->clear();
    for (int k = 0; k < kConditionCount; ++k) {
        names_[k]->clear();
        classes_[k]->setCurrentIndex(0);
    }
}

QStringList RetrievalPanel::names() const {
    QStringList out;
    for (const QLineEdit* e : names_) out << e->text();
    return out;
}

void RetrievalPanel::setNames(const QStringList& names) {
    for (int k = 0; k < kConditionCount && k < names.size(); ++k) names_[k]->setText(names[k]);
}

void RetrievalPanel::setMeshPrefix(const QString& prefix) { meshPrefix_->setText(prefix); }

void RetrievalPanel::setRecordCount(int count) {
    firstRecord_->setRange(1, qMax(1, count));
    firstRecord_->setValue(1);
    lastRecord_->setRange(0, count);
    lastRecord_->setValue(count);
}

void RetrievalPanel::setRecordMaximum(int count) { lastRecord_->setMaximum(count); }

int RetrievalPanel::lastRecord() const { return lastRecord_->value(); }

void RetrievalPanel::setFileName(const QString& path) {
    // The data file by its name, as the status line shows it; the folder in the hint.
    fileName_ = FileNamePart(path);
    fileNameLabel_->setToolTip(path);
    elideFileName();
}

QString RetrievalPanel::fileNameShown() const { return fileNameLabel_->text(); }
QString RetrievalPanel::fileNameHint() const { return fileNameLabel_->toolTip(); }

void RetrievalPanel::elideFileName() {
    const QFontMetrics fm(fileNameLabel_->font());
    fileNameLabel_->setText(fm.elidedText(fileName_, Qt::ElideMiddle, qMax(60, fileNameLabel_->width())));
}

void RetrievalPanel::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    elideFileName();
}

void RetrievalPanel::setTableCounts(int releves, int species) {
    releveCount_->setText(QString::number(releves));
    speciesCount_->setText(QString::number(species));
}

void RetrievalPanel::setSearching(int record) { searching_->setText(QString::number(record)); }
void RetrievalPanel::setHits(int hits) { hits_->setText(QString::number(hits)); }
void RetrievalPanel::markStopped() {
    searching_->setText(searching_->text() + QCoreApplication::translate("RetrievalPanel", " 中止"));
}
QString RetrievalPanel::searchingText() const { return searching_->text(); }
QString RetrievalPanel::hitsText() const { return hits_->text(); }

void RetrievalPanel::focusMeshPrefix() { meshPrefix_->setFocus(); }
void RetrievalPanel::focusFirstName() { names_[0]->setFocus(); }

}  // namespace tavik::ui
