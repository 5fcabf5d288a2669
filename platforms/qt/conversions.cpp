#include "platforms/qt/conversions.h"

#include "runtime/presentation/faces.h"

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

QFont toQFont(const rt::Font& font)
{
    const rt::Face face = rt::faceOf(font);
    QFont result(QString::fromStdString(face.family));
    result.setPixelSize(face.px);
    result.setBold(font.Bold);
    return result;
}

} // namespace rtqt
