#include "ui/cell_editor.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QKeyEvent>

#include "core/cp932_width.h"
#include "ui/qt_text.h"

namespace tavik::ui {

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("cellEditor"));
    // A thin dark border shows that the cell is being typed over; no padding, so the text
    // sits where the grid draws it.
    setFrame(false);
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #202020; padding: 0px; background: white; }"));
    // Japanese names are typed through the input method.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    hide();
    connect(this, &QLineEdit::textEdited, this, &CellEditor::keepWithinWidth);
}

void CellEditor::open(const QRect& rect, const QFont& font, const QString& text, int maxWidth, int col, int row) {
    maxWidth_ = maxWidth;
    col_ = col;
    row_ = row;
    setFont(font);
    setText(text);
    accepted_ = text;
    // At least wide enough for a name of the whole width, however narrow the column.
    const int want =
        qMax(rect.width(), fontMetrics().horizontalAdvance(QLatin1Char('M')) * qMax(8, maxWidth) / 2 * 2 + 8);
    setGeometry(QRect(rect.topLeft(), QSize(qMin(want, qMax(rect.width(), parentWidget()->width() - rect.left())),
                                            qMax(rect.height(), fontMetrics().height() + 2))));
    editing_ = true;
    if (QWidget* win = window(); win && win != this) win->installEventFilter(this);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void CellEditor::keepWithinWidth(const QString& typed) {
    if (maxWidth_ <= 0 || Cp932Width(S(typed)) <= maxWidth_) {
        accepted_ = typed;
        return;
    }
    // What was typed or pasted went in between an unchanged beginning and end: keep as much
    // of it as fits, whole characters only.
    int head = 0;
    while (head < accepted_.size() && head < typed.size() && accepted_[head] == typed[head]) ++head;
    int tail = 0;
    while (tail < accepted_.size() - head && tail < typed.size() - head &&
           accepted_[accepted_.size() - 1 - tail] == typed[typed.size() - 1 - tail])
        ++tail;
    const QString before = accepted_.left(head), after = accepted_.right(tail);
    const std::string inserted = S(typed.mid(head, typed.size() - head - tail));
    const int room = maxWidth_ - Cp932Width(S(before)) - Cp932Width(S(after));
    const QString kept = Q(std::string(Cp932Cut(inserted, qMax(0, room))));
    accepted_ = before + kept + after;
    setText(accepted_);
    setCursorPosition(static_cast<int>(before.size() + kept.size()));
    emit widthExceeded(maxWidth_);
}

void CellEditor::finish() {
    editing_ = false;
    hide();
    // Back to the grid (the editor lives on its viewport), so the arrows move on.
    QWidget* back = parentWidget();
    if (back && qobject_cast<QAbstractScrollArea*>(back->parentWidget())) back = back->parentWidget();
    if (back) back->setFocus(Qt::OtherFocusReason);
}

void CellEditor::commit() {
    if (!editing_) return;
    const QString text = this->text();
    finish();
    emit committed(col_, row_, text);
}

void CellEditor::cancel() {
    if (!editing_) return;
    finish();
    emit cancelled(col_, row_);
}

bool CellEditor::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Close && watched == window()) commit();
    return QLineEdit::eventFilter(watched, e);
}

void CellEditor::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            commit();
            e->accept();
            return;
        case Qt::Key_Escape:
            cancel();
            e->accept();
            return;
        default: QLineEdit::keyPressEvent(e);
    }
}

void CellEditor::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // Another window or the input method's list for a moment: the edit goes on.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    commit();
}

}  // namespace tavik::ui
