#include "day/RecordNavigator.h"

#include "base/ErrorReport.h"
#include "day/DataSource.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {
// The post glyph: a check mark, drawn here so that it looks the same under every style and icon theme;
// the disabled look is derived from it by the style.
QIcon checkMarkIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::black, 2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    const QPointF mark[] = {{3.0, 8.5}, {6.5, 12.0}, {13.0, 4.0}};
    painter.drawPolyline(mark, 3);
    painter.end();
    return QIcon(pixmap);
}
} // namespace

RecordNavigator::RecordNavigator(QWidget* parent) : QWidget(parent), m_post(new QToolButton(this)) {
    m_post->setObjectName(QStringLiteral("DBNavigator1Post"));
    m_post->setIcon(checkMarkIcon());
    m_post->setIconSize(QSize(16, 16));
    m_post->setToolTip(QStringLiteral("Αποθήκευση"));
    m_post->setAccessibleName(QStringLiteral("Αποθήκευση"));
    // Pressing it must leave the focus in the slot the user was typing in.
    m_post->setFocusPolicy(Qt::NoFocus);
    m_post->setEnabled(false);
    connect(m_post, &QToolButton::clicked, this, &RecordNavigator::post);
}

void RecordNavigator::setDataSource(DataSource* dataSource) {
    if (m_dataSource) {
        disconnect(m_dataSource, nullptr, this, nullptr);
    }
    m_dataSource = dataSource;
    if (m_dataSource) {
        connect(m_dataSource, &DataSource::stateChanged, this, &RecordNavigator::updateButtons);
    }
    updateButtons();
}

void RecordNavigator::post() {
    if (!m_dataSource || !m_dataSource->isEditing()) {
        return;
    }
    const bool written = ErrorReport::guard([this] { m_dataSource->post(); });
    updateButtons();
    if (written)
        emit posted();
}

void RecordNavigator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // With only one button shown, it takes the whole navigator.
    m_post->setGeometry(rect());
}

void RecordNavigator::updateButtons() {
    m_post->setEnabled(m_dataSource && m_dataSource->isEditing());
}
