// SPDX-License-Identifier: MIT
#include "toolkit/outputwindowwidget.h"

#include "platform/error.h"
#include "platform/units.h"

#include <cmath>

namespace toolkit {

namespace {
constexpr double kMaxSide = 16384;
constexpr double kMaxArea = 33554432;
constexpr double kMaxPosition = 1000000;

int toPixels(float twips, float twipsPerPixel)
{
    return int(std::lround(double(twips) / double(twipsPerPixel)));
}
} // namespace

// Control names compare with the letter case of A-Z ignored.
QString controlNameKey(const QString &name)
{
    QString key = name;
    for (QChar &c : key) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return key;
}

bool sameControlName(const QString &a, const QString &b) { return controlNameKey(a) == controlNameKey(b); }

void checkPixelGeometry(double left, double top, double width, double height)
{
    const bool bad = !(std::fabs(left) <= kMaxPosition) || !(std::fabs(top) <= kMaxPosition)
        || !(width >= 0 && width <= kMaxSide) || !(height >= 0 && height <= kMaxSide)
        || width * height > kMaxArea;
    if (bad)
        platform::raiseError(platform::ErrInvalidPropertyValue);
}

OutputWindowWidget::OutputWindowWidget() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("wTemplate"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(platform::twipsToPixelsX(4020), platform::twipsToPixelsY(2190));
    m_width = float(width()) * platform::twipsPerPixelX();
    m_height = float(height()) * platform::twipsPerPixelY();
}

void OutputWindowWidget::setOuterGeometry(float left, float top, float width, float height, bool positioned)
{
    const float tx = platform::twipsPerPixelX();
    const float ty = platform::twipsPerPixelY();
    checkPixelGeometry(double(left) / tx, double(top) / ty, double(width) / tx, double(height) / ty);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_positioned = m_positioned || positioned;
    reapplyGeometry();
}

void OutputWindowWidget::setOuterSize(float width, float height)
{
    checkPixelGeometry(0, 0, double(width) / platform::twipsPerPixelX(), double(height) / platform::twipsPerPixelY());
    m_width = width;
    m_height = height;
    resizeToOuterSize();
}

void OutputWindowWidget::reapplyGeometry()
{
    resizeToOuterSize();
    if (m_positioned)
        move(toPixels(m_left, platform::twipsPerPixelX()), toPixels(m_top, platform::twipsPerPixelY()));
}

void OutputWindowWidget::resizeToOuterSize()
{
    // Before the window is shown the frame is unknown and taken as zero.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int extraWidth = isVisible() ? frame.width() - client.width() : 0;
    const int extraHeight = isVisible() ? frame.height() - client.height() : 0;
    resize(qMax(0, toPixels(m_width, platform::twipsPerPixelX()) - extraWidth),
           qMax(0, toPixels(m_height, platform::twipsPerPixelY()) - extraHeight));
}

QSize OutputWindowWidget::outerSize() const
{
    return QSize(toPixels(m_width, platform::twipsPerPixelX()), toPixels(m_height, platform::twipsPerPixelY()));
}

void OutputWindowWidget::setTitle(const QString &title)
{
    if (windowHandle()) {
        m_keptTitle = title;
        return;
    }
    setWindowTitle(title);
}

void OutputWindowWidget::showTitle()
{
    if (!m_keptTitle)
        return;
    setWindowTitle(*m_keptTitle);
    m_keptTitle.reset();
}

OutputWindowWidget::ControlEntry OutputWindowWidget::findControl(const QString &name) const
{
    return m_controls.value(controlNameKey(name));
}

void OutputWindowWidget::registerControlByKey(const QString &key, const ControlEntry &entry)
{
    m_controls.insert(key, entry);
    m_keys.append(key);
}

void OutputWindowWidget::adoptControls(const OutputWindowWidget &other)
{
    m_controls = other.m_controls;
    m_keys = other.m_keys;
}

void OutputWindowWidget::addChargedBytes(const QString &name, qint64 bytes)
{
    const auto found = m_controls.find(controlNameKey(name));
    if (found != m_controls.end())
        found->chargedBytes += bytes;
}

void OutputWindowWidget::offerKeptControl(const QString &key, const ControlEntry &entry)
{
    m_keptOffers.insert(key, entry);
}

std::optional<OutputWindowWidget::ControlEntry> OutputWindowWidget::takeKeptControl(const QString &key, int kind)
{
    const auto found = m_keptOffers.constFind(key);
    if (found == m_keptOffers.constEnd() || found->kind != kind || !found->widget)
        return std::nullopt;
    ControlEntry entry = *found;
    m_keptOffers.erase(found);
    entry.kept = true;
    return entry;
}

} // namespace toolkit
