#include "ui/cover_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/cover_edit.h"
#include "ui/qt_text.h"

namespace tavik::ui {

namespace {

// Item data of a class entry: the CoverClass; of a kept odd value: 1000 + the value.
constexpr int kKeptValue = 1000;

QString ClassCaption(CoverClass c) {
    return c == CoverClass::Absent ? QCoreApplication::translate("CoverDialog", "なし") : Q(ClassMark(c));
}

}  // namespace

CoverDialog::CoverDialog(const LayerCovers& covers, const std::array<QString, kLayerCount>& labels, const QString& what,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("coverDialog"));
    setWindowTitle(QCoreApplication::translate("CoverDialog", "被度の編集"));
    auto* top = new QVBoxLayout(this);
    auto* heading = new QLabel(what, this);
    heading->setObjectName(QStringLiteral("coverHeading"));
    heading->setTextFormat(Qt::PlainText);
    top->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QCoreApplication::translate("CoverDialog", "階層"), this), 0, 0);
    grid->addWidget(new QLabel(QCoreApplication::translate("CoverDialog", "被度"), this), 0, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("CoverDialog", "群度"), this), 0, 2);
    grid->addWidget(new QLabel(QCoreApplication::translate("CoverDialog", "表記"), this), 0, 3);
    for (int i = 0; i < kLayerCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        grid->addWidget(new QLabel(labels[k].trimmed(), this), i + 1, 0);
        class_[k] = new QComboBox(this);
        class_[k]->setObjectName(QStringLiteral("coverClass%1").arg(i));
        for (int c = 0; c < kCoverClassChoices; ++c) class_[k]->addItem(ClassCaption(static_cast<CoverClass>(c)), c);
        soc_[k] = new QComboBox(this);
        soc_[k]->setObjectName(QStringLiteral("sociability%1").arg(i));
        soc_[k]->setMinimumContentsLength(4);
        notation_[k] = new QLabel(this);
        notation_[k]->setObjectName(QStringLiteral("notation%1").arg(i));
        notation_[k]->setMinimumWidth(notation_[k]->fontMetrics().horizontalAdvance(QStringLiteral("0.0")) + 8);
        grid->addWidget(class_[k], i + 1, 1);
        grid->addWidget(soc_[k], i + 1, 2);
        grid->addWidget(notation_[k], i + 1, 3);
        connect(class_[k], &QComboBox::activated, this, [this, i] { onClassChosen(i); });
        connect(soc_[k], &QComboBox::currentIndexChanged, this, [this] { showCode(); });
    }
    top->addLayout(grid);

    auto* codeLine = new QHBoxLayout;
    codeLine->addWidget(new QLabel(QCoreApplication::translate("CoverDialog", "セルの表示："), this));
    code_ = new QLabel(this);
    code_->setObjectName(QStringLiteral("cellCode"));
    code_->setTextFormat(Qt::PlainText);
    QFont mono = code_->font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    code_->setFont(mono);
    code_->setFrameShape(QFrame::Box);
    codeLine->addWidget(code_);
    codeLine->addStretch(1);
    top->addLayout(codeLine);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("coverOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("CoverDialog", "キャンセル"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("coverCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);

    setCovers(covers);
}

void CoverDialog::setCovers(const LayerCovers& covers) {
    for (int i = 0; i < kLayerCount; ++i) {
        QComboBox* box = class_[static_cast<std::size_t>(i)];
        // A value that is no cover code stays as it is until another class is chosen.
        for (int n = box->count() - 1; n >= kCoverClassChoices; --n) box->removeItem(n);
        const std::uint8_t v = covers[i];
        const CoverClass c = ClassOf(v);
        if (c == CoverClass::Other) {
            box->addItem(QCoreApplication::translate("CoverDialog", "（値 %1）").arg(v), kKeptValue + v);
            box->setCurrentIndex(box->count() - 1);
        } else {
            box->setCurrentIndex(static_cast<int>(c));
        }
        fillSociability(i, SociabilityOf(v));
    }
    showCode();
}

void CoverDialog::fillSociability(int layer, int sociability) {
    QComboBox* soc = soc_[static_cast<std::size_t>(layer)];
    const int data = class_[static_cast<std::size_t>(layer)]->currentData().toInt();
    const auto c = data >= kKeptValue ? CoverClass::Other : static_cast<CoverClass>(data);
    const QSignalBlocker quiet(soc);
    soc->clear();
    const int lo = MinSociability(c), hi = MaxSociability(c);
    if (hi == 0) {
        soc->addItem(QCoreApplication::translate("CoverDialog", "－"), 0);
        soc->setEnabled(false);
        return;
    }
    for (int s = lo; s <= hi; ++s)
        soc->addItem(s == 0 ? QCoreApplication::translate("CoverDialog", "なし") : QString::number(s), s);
    soc->setEnabled(true);
    soc->setCurrentIndex(qBound(lo, sociability, hi) - lo);
}

void CoverDialog::onClassChosen(int layer) {
    fillSociability(layer, soc_[static_cast<std::size_t>(layer)]->currentData().toInt());
    showCode();
}

LayerCovers CoverDialog::covers() const {
    LayerCovers out;
    for (int i = 0; i < kLayerCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int data = class_[k]->currentData().toInt();
        out[i] = data >= kKeptValue ? static_cast<std::uint8_t>(data - kKeptValue)
                                    : CoverValue(static_cast<CoverClass>(data), soc_[k]->currentData().toInt());
    }
    return out;
}

QString CoverDialog::cellCodeShown() const { return code_->text(); }

void CoverDialog::showCode() {
    const LayerCovers c = covers();
    for (int i = 0; i < kLayerCount; ++i) notation_[static_cast<std::size_t>(i)]->setText(Q(CoverText(c[i], 2)));
    // What the grid will show: the code, or nothing when the species leaves the relevé.
    code_->setText(c.empty() ? QCoreApplication::translate("CoverDialog", "（なし）")
                             : QCoreApplication::translate("CoverDialog", "「%1」").arg(Q(LayerCode(c))));
}

}  // namespace tavik::ui
