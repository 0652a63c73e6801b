#include "widgets/set_details_window.h"

#include "widgets/form_builder.h"
#include "widgets/train_drawing.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvaro {

SetDetailsWindow::SetDetailsWindow(PrintSheet printSheet, QWidget* parent)
    : QWidget(parent, Qt::Window), printSheet_(std::move(printSheet)) {
    setObjectName(QStringLiteral("SetDetails"));
    setWindowTitle(QStringLiteral("挂轮详情"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("heading"));
    QFont headingFont = heading_->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    headingFont.setBold(true);
    heading_->setFont(headingFont);
    heading_->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0)"));

    facts_ = new QTableWidget(0, 2, this);
    facts_->setObjectName(QStringLiteral("facts"));
    facts_->horizontalHeader()->hide();
    facts_->verticalHeader()->hide();
    facts_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    facts_->horizontalHeader()->setStretchLastSection(true);
    facts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    facts_->setWordWrap(true);
    facts_->setSelectionMode(QAbstractItemView::NoSelection);
    facts_->setFocusPolicy(Qt::NoFocus);
    facts_->setMinimumWidth(240);

    drawing_ = new TrainDrawing(this);
    printButton_ = new QPushButton(QStringLiteral("打印挂轮卡"), this);
    printButton_->setObjectName(QStringLiteral("printSheet"));
    connect(printButton_, &QPushButton::clicked, this, [this] {
        if (printSheet_) printSheet_(details_);
    });

    auto* left = new QVBoxLayout;
    left->addWidget(heading_);
    left->addWidget(facts_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(drawing_, 1);
    right->addWidget(printButton_, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
}

void SetDetailsWindow::fitToScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // The frame is known once the window has been shown; before, a title
    // bar's height stands for it.
    const bool framed = frameGeometry() != geometry();
    const QMargins frame = framed
                               ? QMargins(geometry().left() - frameGeometry().left(),
                                          geometry().top() - frameGeometry().top(),
                                          frameGeometry().right() - geometry().right(),
                                          frameGeometry().bottom() - geometry().bottom())
                               : QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    const QSize room = available.size().shrunkBy(frame);
    resize(QSize(940, 520).boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room)));
    QRect placed = frameGeometry();
    placed.setSize(size().grownBy(frame));
    // Opened the first time: in the middle of the screen; later where it
    // was left, moved in as far as needed.
    if (!testAttribute(Qt::WA_Moved)) placed.moveCenter(available.center());
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    move(placed.topLeft());
}

void SetDetailsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        hide();
    else
        QWidget::keyPressEvent(event);
}

void SetDetailsWindow::setPrintable(bool printable) {
    printButton_->setEnabled(printable);
    printButton_->setToolTip(printable ? QString() : QStringLiteral("没有安装打印机"));
}

void SetDetailsWindow::showDetails(SetDetails details) {
    details_ = std::move(details);
    heading_->setText(QString::fromStdString(details_.heading));
    heading_->setVisible(!details_.heading.empty());
    facts_->setRowCount(static_cast<int>(details_.rows.size()));
    for (int i = 0; i < facts_->rowCount(); ++i) {
        const DetailRow& row = details_.rows[static_cast<std::size_t>(i)];
        auto* caption = new QTableWidgetItem(QString::fromStdString(row.caption));
        auto* value = new QTableWidgetItem(QString::fromStdString(row.value));
        if (row.warning) value->setForeground(QColor(192, 0, 0));
        facts_->setItem(i, 0, caption);
        facts_->setItem(i, 1, value);
    }
    drawing_->setTrain(details_.train, details_.clearance);
    // Sized afresh whenever it opens, so it fits the screen at any scale.
    if (!isVisible()) fitToScreen();
    bringToFront(this);
    // Shown, the window knows its frame.
    if (screen() && !screen()->availableGeometry().contains(frameGeometry())) fitToScreen();
    // Only once the window is laid out do the values know their width.
    facts_->resizeRowsToContents();
}

} // namespace kelvaro
