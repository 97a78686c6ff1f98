// What the chart tells assistive technology: a chart named as the layout names it, whose
// value states the visible ranges of both axes and the number of points the series holds,
// and whose description names the keys that copy and save it.
#include <oleacc.h>

#include "core/chart/value_text.h"
#include "win/views/chart_view.h"

namespace chart {

std::u16string ChartView::AccessibleValue() const {
    return ChartValueText(BottomAxis, LeftAxis, series_ ? series_->Count() : 0, symbols_.Decimal);
}

std::optional<ui::AccessibleFacts> ChartView::Accessible() const {
    return ui::AccessibleFacts{.Name = AccessibleName(),
                               .Role = ROLE_SYSTEM_CHART,
                               .Value = AccessibleValue(),
                               .Description = std::u16string(kChartKeysDescription)};
}

}  // namespace chart
