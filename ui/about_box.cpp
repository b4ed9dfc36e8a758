#include "ui/about_box.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavik::ui {

QIcon ProgramIcon() {
    QIcon icon;
    for (int s : {16, 32, 48, 64}) {
        QPixmap pm(s, s);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const double u = s / 16.0;
        // A small table.
        p.setPen(QPen(QColor(120, 110, 60), qMax(1.0, u * 0.6)));
        p.setBrush(QColor(255, 255, 230));
        p.drawRect(QRectF(1 * u, 5 * u, 14 * u, 10 * u));
        for (int i = 1; i < 3; ++i) p.drawLine(QPointF(1 * u, (5 + i * 3.3) * u), QPointF(15 * u, (5 + i * 3.3) * u));
        p.drawLine(QPointF(5.5 * u, 5 * u), QPointF(5.5 * u, 15 * u));
        // A leaf.
        QPainterPath leaf;
        leaf.moveTo(3 * u, 9 * u);
        leaf.cubicTo(4 * u, 1 * u, 12 * u, 0.5 * u, 14.5 * u, 1 * u);
        leaf.cubicTo(14 * u, 6 * u, 9 * u, 10.5 * u, 3 * u, 9 * u);
        p.setPen(QPen(QColor(30, 110, 40), qMax(1.0, u * 0.5)));
        p.setBrush(QColor(70, 170, 70));
        p.drawPath(leaf);
        p.drawLine(QPointF(3 * u, 9 * u), QPointF(12 * u, 2.5 * u));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

AboutBox::AboutBox(const QString& versionText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QCoreApplication::translate("AboutBox", "ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(ProgramIcon().pixmap(64, 64));
    auto* product = new QLabel(QStringLiteral("TAVIK"), this);
    product->setObjectName(QStringLiteral("productName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    auto* what = new QLabel(QCoreApplication::translate("AboutBox", "植生組成表の作成と処理"), this);
    auto* version = new QLabel(QStringLiteral("Version ") + versionText, this);
    version->setObjectName(QStringLiteral("version"));

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(what);
    text->addSpacing(6);
    text->addWidget(version);
    auto* row = new QHBoxLayout;
    row->addWidget(iconLabel, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(20, 18, 20, 12);
    lay->addLayout(row);
    lay->addSpacing(10);
    lay->addWidget(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tavik::ui
