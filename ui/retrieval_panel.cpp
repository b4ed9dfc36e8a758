#include "ui/retrieval_panel.h"

#include <QButtonGroup>
#include <QComboBox>
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
QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
}  // namespace

RetrievalPanel::RetrievalPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel_AddReleve"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(12, 10, 12, 10);
    top->setSpacing(8);

    auto* heading = new QLabel(QStringLiteral("組成表にデータを加える"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    top->addWidget(heading);

    Label_fileName = new QLabel(this);
    Label_fileName->setObjectName(QStringLiteral("Label_fileName"));
    Label_fileName->setTextFormat(Qt::PlainText);
    Label_fileName->setMinimumWidth(120);
    Label_fileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("データファイル："), this));
    fileRow->addWidget(Label_fileName, 1);
    BtnChgFile = Button(this, "BtnChgFile", QStringLiteral("データファイル変更"));
    fileRow->addWidget(BtnChgFile);
    top->addLayout(fileRow);

    // Five conditions: name, lowest class, connective.
    auto* conds = new QGroupBox(QStringLiteral("抽出条件（植物名・最低優占度・条件）"), this);
    auto* cg = new QGridLayout(conds);
    cg->setHorizontalSpacing(8);
    cg->setVerticalSpacing(4);
    cg->addWidget(new QLabel(QStringLiteral("植物名"), conds), 0, 1);
    cg->addWidget(new QLabel(QStringLiteral("優占度"), conds), 0, 2);
    const QStringList classes = {QStringLiteral("+"), QStringLiteral("1"), QStringLiteral("2"),
                                 QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")};
    const QStringList connectives = {QStringLiteral("または"), QStringLiteral("そして"),
                                     QStringLiteral("なし")};
    for (int k = 0; k < kConditionCount; ++k) {
        cg->addWidget(new QLabel(QString::number(k + 1), conds), k + 1, 0);
        EditName[k] = new QLineEdit(conds);
        EditName[k]->setObjectName(QStringLiteral("EditName%1").arg(k + 1));
        EditName[k]->setMinimumWidth(200);
        cg->addWidget(EditName[k], k + 1, 1);
        EditCov[k] = new QComboBox(conds);
        EditCov[k]->setObjectName(QStringLiteral("EditCov%1").arg(k + 1));
        EditCov[k]->addItems(classes);
        EditCov[k]->setCurrentIndex(0);
        cg->addWidget(EditCov[k], k + 1, 2);
        RG_Retr[k] = new QButtonGroup(this);
        RG_Retr[k]->setObjectName(QStringLiteral("RG_Retr%1").arg(k + 1));
        auto* rowLay = new QHBoxLayout;
        for (int i = 0; i < connectives.size(); ++i) {
            auto* rb = new QRadioButton(connectives[i], conds);
            rb->setObjectName(QStringLiteral("RG_Retr%1_%2").arg(k + 1).arg(i));
            RG_Retr[k]->addButton(rb, i);
            rowLay->addWidget(rb);
        }
        RG_Retr[k]->button(static_cast<int>(Connective::And))->setChecked(true);
        cg->addLayout(rowLay, k + 1, 3);
    }
    top->addWidget(conds);

    // Mesh prefix and record range.
    auto* where = new QGridLayout;
    where->addWidget(new QLabel(QStringLiteral("対象地理区画コード"), this), 0, 0);
    EditGrid = new QLineEdit(this);
    EditGrid->setObjectName(QStringLiteral("EditGrid"));
    EditGrid->setMaximumWidth(140);
    where->addWidget(EditGrid, 0, 1, 1, 3, Qt::AlignLeft);
    where->addWidget(new QLabel(QStringLiteral("対象レコード範囲"), this), 1, 0);
    RtN1 = new QSpinBox(this);
    RtN1->setObjectName(QStringLiteral("RtN1"));
    RtN2 = new QSpinBox(this);
    RtN2->setObjectName(QStringLiteral("RtN2"));
    for (QSpinBox* s : {RtN1, RtN2}) {
        s->setRange(0, 0);
        s->setMinimumWidth(90);
        s->setAlignment(Qt::AlignRight);
    }
    where->addWidget(RtN1, 1, 1);
    where->addWidget(new QLabel(QStringLiteral("～"), this), 1, 2);
    where->addWidget(RtN2, 1, 3);
    where->setColumnStretch(4, 1);
    top->addLayout(where);

    // Counters.
    LabRelN = Counter(this, "LabRelN");
    LabSpN = Counter(this, "LabSpN");
    LabSerachN = Counter(this, "LabSerachN");
    LabFitN = Counter(this, "LabFitN");
    auto* counts = new QGridLayout;
    counts->addWidget(new QLabel(QStringLiteral(" 現在の組成表　　測定数＝"), this), 0, 0);
    counts->addWidget(LabRelN, 0, 1);
    counts->addWidget(new QLabel(QStringLiteral(" 植物数＝"), this), 0, 2);
    counts->addWidget(LabSpN, 0, 3);
    counts->addWidget(new QLabel(QStringLiteral("調査中 ⇒"), this), 1, 0, Qt::AlignRight);
    counts->addWidget(LabSerachN, 1, 1);
    counts->addWidget(new QLabel(QStringLiteral("抽出数＝"), this), 1, 2, Qt::AlignRight);
    counts->addWidget(LabFitN, 1, 3);
    counts->setColumnStretch(4, 1);
    top->addLayout(counts);

    // Buttons.
    BtnRetrNew = Button(this, "BtnRetrNew", QStringLiteral("新規抽出"));
    BtnRetrAdd = Button(this, "BtnRetrAdd", QStringLiteral("追加抽出"));
    BtnRetrReset = Button(this, "BtnRetrReset", QStringLiteral("初期化"));
    BtnSynToCom = Button(this, "BtnSynToCom", QStringLiteral("標準名に変換"));
    BtnToTable = Button(this, "BtnToTable", QStringLiteral("表へ組み込む"));
    BtnRetrQuit = Button(this, "BtnRetrQuit", QStringLiteral("組み込まず終了"));
    auto* b1 = new QHBoxLayout;
    b1->addWidget(BtnRetrNew);
    b1->addWidget(BtnRetrAdd);
    b1->addWidget(BtnRetrReset);
    b1->addWidget(BtnSynToCom);
    top->addLayout(b1);
    auto* b2 = new QHBoxLayout;
    b2->addStretch();
    b2->addWidget(BtnToTable);
    b2->addWidget(BtnRetrQuit);
    top->addLayout(b2);
    hide();
}

void RetrievalPanel::Place() {
    adjustSize();
    if (QWidget* p = parentWidget())
        move(qMax(0, p->width() - width() - 28), qMax(0, qMin(40, p->height() - height())));
}

ScanParams RetrievalPanel::Conditions(bool additional) const {
    ScanParams s;
    for (int k = 0; k < kConditionCount; ++k) {
        s.conditions[k].name = EditName[k]->text().toStdString();
        s.conditions[k].coverClass = EditCov[k]->currentIndex();
        const int id = RG_Retr[k]->checkedId();
        s.conditions[k].connective = static_cast<Connective>(id < 0 ? 1 : id);
    }
    s.meshPrefix = EditGrid->text().toStdString();
    s.first = RtN1->value();
    s.last = RtN2->value();
    s.additional = additional;
    return s;
}

void RetrievalPanel::ClearConditions() {
    EditGrid->clear();
    for (int k = 0; k < kConditionCount; ++k) {
        EditName[k]->clear();
        EditCov[k]->setCurrentIndex(0);
    }
}

void RetrievalPanel::SetFileName(const QString& path) {
    // The data file by its name, as the status line shows it; the folder in the hint.
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    fileName_ = cut < 0 ? path : path.mid(cut + 1);
    Label_fileName->setToolTip(path);
    ElideFileName();
}

void RetrievalPanel::ElideFileName() {
    const QFontMetrics fm(Label_fileName->font());
    Label_fileName->setText(fm.elidedText(fileName_, Qt::ElideMiddle, qMax(60, Label_fileName->width())));
}

void RetrievalPanel::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    ElideFileName();
}

void RetrievalPanel::SetTableCounts(int releves, int species) {
    LabRelN->setText(QString::number(releves));
    LabSpN->setText(QString::number(species));
}

void RetrievalPanel::SetSearching(int record) { LabSerachN->setText(QString::number(record)); }
void RetrievalPanel::SetHits(int hits) { LabFitN->setText(QString::number(hits)); }

}  // namespace tavik::ui
