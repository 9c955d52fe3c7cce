#include "tests/e2e/MonthGridGeometry.h"

#include <array>

namespace monthgrid {

namespace {
constexpr int LabelLeft = 39;
constexpr int ColumnStep = 80;
constexpr int LabelWidth = 67;
constexpr std::array<int, 6> DayLabelTops = {159, 223, 286, 349, 412, 475};
constexpr std::array<int, 6> CountLabelTops = {175, 238, 302, 364, 428, 494};
} // namespace

int cellOfDate(const QDate& date) {
    return QDate(date.year(), date.month(), 1).dayOfWeek() + date.day() - 1;
}

int columnOfCell(int cell) {
    return (cell - 1) % 7 + 1;
}

int rowOfCell(int cell) {
    return (cell - 1) / 7 + 1;
}

QRect dayLabelRect(int cell) {
    const auto row = static_cast<std::size_t>(rowOfCell(cell) - 1);
    return QRect(LabelLeft + ColumnStep * (columnOfCell(cell) - 1), DayLabelTops.at(row), LabelWidth, 14);
}

QRect countLabelRect(int cell) {
    const auto row = static_cast<std::size_t>(rowOfCell(cell) - 1);
    return QRect(LabelLeft + ColumnStep * (columnOfCell(cell) - 1), CountLabelTops.at(row), LabelWidth, 30);
}

QPoint monthChooserPoint() {
    return QRect(400, 34, 176, 37).center();
}

QPoint yearChooserPoint() {
    return QRect(113, 34, 112, 37).center();
}

QPoint aboutButtonPoint() {
    return QRect(31, 560, 75, 25).center();
}

} // namespace monthgrid
