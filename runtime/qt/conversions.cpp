#include "runtime/qt/conversions.h"

#include <QtMath>

namespace rtqt {

QRegion toQRegion(const rt::Region& region)
{
    QRegion result;
    for (const rt::Rect& rect : region)
        result += toQRect(rect);
    return result;
}

QColor toQColor(rt::Color color)
{
    return QColor(rt::redOf(color), rt::greenOf(color), rt::blueOf(color));
}

namespace {
QString familyFor(const std::string& name)
{
    if (name == "Lucida Console")
        return QStringLiteral("DejaVu Sans Mono");
    if (name == "MS Sans Serif")
        return QStringLiteral("DejaVu Sans");
    return QString::fromStdString(name);
}
} // namespace

QFont toQFont(const rt::Font& font)
{
    QFont result(familyFor(font.Name));
    result.setPixelSize(qMax(1, qRound(font.Size * 96.0 / 72.0)));
    result.setBold(font.Bold);
    return result;
}

} // namespace rtqt
