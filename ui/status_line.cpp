#include "ui/status_line.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "core/releve_tally.h"
#include "core/table.h"
#include "ui/qt_text.h"

namespace tavik::ui {

namespace {
// The panels' widths at start: relevés, species, dictionary, file.
constexpr int kPanelWidths[4] = {110, 110, 300, 300};

// The counts' panels grow to show their whole text (a count of separators, a longer language)
// and come back to their width when it is short again; the names' panels stay as they are.
void FitCount(QLabel* panel, int width) { panel->setFixedWidth(std::max(width, panel->sizeHint().width())); }
}  // namespace

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    // As the window makes its own: the panels may be cut off, the window's width is the user's.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i + 1));
        panels_[i]->setFixedWidth(kPanelWidths[i]);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setTextFormat(Qt::PlainText);
        addWidget(panels_[i]);
    }
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("statusNote"));
    note_->setTextFormat(Qt::PlainText);
    addWidget(note_, 1);
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    connect(noteTimer_, &QTimer::timeout, note_, &QLabel::clear);
}

void StatusLine::showTable(const Table& t, const QString& dictionaryPath, const QString& filePath) {
    // Relevés and the empty columns that separate groups, apart.
    const ReleveTally tally = TallyReleves(t);
    const QString releves = tally.separators > 0
                                ? QCoreApplication::translate("StatusLine", " 測定数：%1（区切り %2）")
                                      .arg(tally.releves)
                                      .arg(tally.separators)
                                : QCoreApplication::translate("StatusLine", " 測定数：%1").arg(tally.releves);
    panels_[0]->setText(releves);
    panels_[1]->setText(QCoreApplication::translate("StatusLine", " 種数：%1").arg(t.SpeciesCount()));
    for (int i : {0, 1}) FitCount(panels_[i], kPanelWidths[i]);
    panels_[2]->setText(QCoreApplication::translate("StatusLine", " 変換辞書：%1").arg(FileNamePart(dictionaryPath)));
    panels_[3]->setText(QCoreApplication::translate("StatusLine", " ファイル：%1").arg(FileNamePart(filePath)));
}

QString StatusLine::panelText(int panel) const {
    return panel >= 1 && panel <= 4 ? panels_[panel - 1]->text() : QString();
}

void StatusLine::showNote(const QString& text, int ms) {
    note_->setText(text);
    note_->setToolTip(text);
    noteTimer_->start(ms);
}

QString StatusLine::noteText() const { return note_->text(); }

}  // namespace tavik::ui
