#include "ui/work_message.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/panels.h"

namespace tavik::ui {

WorkMessage::WorkMessage(QWidget* parent) : QFrame(parent) {
    MakeFloatingPanel(this, QStringLiteral("workMessage"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);

    line1_ = new QLabel(this);
    line1_->setObjectName(QStringLiteral("workMessageLine1"));
    line2_ = new QLabel(this);
    line2_->setObjectName(QStringLiteral("workMessageLine2"));
    for (QLabel* l : {line1_, line2_}) {
        l->setAlignment(Qt::AlignCenter);
        l->setTextFormat(Qt::PlainText);
    }
    QFont f = line1_->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    line1_->setFont(f);
    cancel_ = new QPushButton(QCoreApplication::translate("WorkMessage", "中止"), this);
    cancel_->setObjectName(QStringLiteral("workStopButton"));
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, &WorkMessage::cancelRequested);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(24, 14, 24, 14);
    lay->setSpacing(6);
    lay->addWidget(line1_);
    lay->addWidget(line2_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cancel_);
    row->addStretch();
    lay->addLayout(row);
}

void WorkMessage::setLines(const QString& line1, const QString& line2) {
    line1_->setText(line1);
    line2_->setText(line2);
}

QString WorkMessage::line1() const { return line1_->text(); }
QString WorkMessage::line2() const { return line2_->text(); }

void WorkMessage::setCancelVisible(bool on) {
    cancel_->setVisible(on);
    if (isVisible()) place();
}

void WorkMessage::place() {
    adjustSize();
    const QSize s(qMax(sizeHint().width(), 340), sizeHint().height());
    resize(s);
    if (QWidget* p = parentWidget()) {
        if (note_) move(qMax(0, p->width() - s.width() - 28), 40);
        else move((p->width() - s.width()) / 2, qMax(8, p->height() / 3 - s.height() / 2));
    }
}

void WorkMessage::showMessage(const QString& line1, const QString& line2) {
    setLines(line1, line2);
    place();
    show();
    raise();
    repaint();
}

WorkProgress::WorkProgress(WorkMessage* panel, bool stoppable) : panel_(panel), stoppable_(stoppable) {
    sincePump_.start();
    if (stoppable_) {
        panel_->setCancelVisible(true);
        conn_ = QObject::connect(panel_, &WorkMessage::cancelRequested, [this] { cancelled_ = true; });
    }
}

WorkProgress::~WorkProgress() {
    if (stoppable_) {
        QObject::disconnect(conn_);
        panel_->setCancelVisible(false);
    }
}

void WorkProgress::Show(const std::string& line1, const std::string& line2) {
    panel_->setLines(QString::fromStdString(line1), QString::fromStdString(line2));
    if (!panel_->isVisible()) {
        panel_->place();
        panel_->show();
        panel_->raise();
    }
    pump();
}

bool WorkProgress::Cancelled() {
    pump();
    return cancelled_;
}

void WorkProgress::pump(bool force) {
    if (!force && sincePump_.elapsed() < interval_) return;
    sincePump_.restart();
    QCoreApplication::processEvents(stoppable_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tavik::ui
