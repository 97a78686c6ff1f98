// The chart window on the real main window: the line where the model puts it, as the screen
// shows it, clearing, the plot's edges and clipping, the bold label under the pointer, the
// visible width, the dense line against the rasterizer's reference, the drawing surfaces,
// the label font's density and the one redraw per paint.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "chart_window.h"
#include "core/chart/stairs_raster.h"
#include "stairs_oracle.h"
#include "win/ui/handles.h"
#include "win/ui/memory_picture.h"
#include "win/ui/text.h"

namespace {

using chart::PointPx;
using chart::RectPx;
using namespace std::chrono_literals;

using wintest::ChartWindow;
using wintest::Copy;
using wintest::CountColour;
using wintest::Differences;
using wintest::DistanceTo;
using wintest::kBlack;
using wintest::kLine;
using wintest::Pixels;
using wintest::Screen;

TEST_F(ChartWindow, ScreenShowsTheLineWhereTheModelPutsIt) {
    Plus(8);
    PaintNow();
    const std::vector<PointPx> vertices = ModelVertices();
    ASSERT_GE(vertices.size(), 8u);
    const Pixels screen = Screen(view->Handle());
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        const PointPx a = vertices[i - 1];
        const PointPx b = vertices[i];
        EXPECT_EQ(screen.At((a.XPx + b.XPx) / 2, (a.YPx + b.YPx) / 2), kLine)
            << "middle of segment " << i;
    }
    // Fully covered pixels lie within a pixel of the line's middle.
    int lineColoured = 0;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (screen.At(x, y) != kLine) continue;
            ++lineColoured;
            int nearest = screen.width;
            for (std::size_t i = 1; i < vertices.size(); ++i) {
                nearest = std::min(nearest, DistanceTo({x, y}, vertices[i - 1], vertices[i]));
            }
            EXPECT_LE(nearest, 1) << "line colour at (" << x << ", " << y << ")";
        }
    }
    EXPECT_GT(lineColoured, 2 * (vertices.back().XPx - vertices.front().XPx));
    ExpectScreenShows(Copy(view->Picture()));
}

TEST_F(ChartWindow, ClearLeavesTheStaticLayerAlone) {
    Plus(8);
    PaintNow();
    ASSERT_GT(CountColour(Screen(view->Handle()), kLine), 0);
    SendMessageW(form->clearButton.Handle(), BM_CLICK, 0, 0);
    PaintNow();
    EXPECT_EQ(form->outputLine.Count(), 0);
    ExpectScreenShows(StaticLayer());
}

TEST_F(ChartWindow, ExtremeValuesLieOnThePlotsEdgesAndTheLineIsClippedBelowIt) {
    SendMessageW(form->sqrButton.Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(form->sqrButton.Checked());
    form->incrementBox.SetValue(32768);
    Plus(6);  // 255, 0, 255, 0, 255, 0
    PaintNow();
    const RectPx plot = Plot();
    const chart::ChartLayout& layout = view->Layout();
    ASSERT_EQ(layout.Left.ValueToPx(255), plot.Top);
    ASSERT_EQ(layout.Left.ValueToPx(0), plot.Bottom) << "the plot's bottom edge line";
    const int topX = (layout.Bottom.ValueToPx(0) + layout.Bottom.ValueToPx(1)) / 2;
    const int bottomX = (layout.Bottom.ValueToPx(1) + layout.Bottom.ValueToPx(2)) / 2;
    Pixels screen = Screen(view->Handle());
    // The whole stroke, one pixel above the plot and one below it included.
    for (const int y : {plot.Top - 1, plot.Top, plot.Top + 1}) {
        EXPECT_EQ(screen.At(topX, y), kLine) << "row " << y << " at 255";
    }
    // At 0 the stroke's rows are the plot's last and the axis line's first; its third row,
    // the axis line's second, lies beyond the clip.
    for (const int y : {plot.Bottom - 1, plot.Bottom}) {
        EXPECT_EQ(screen.At(bottomX, y), kLine) << "row " << y << " at 0";
    }
    EXPECT_EQ(screen.At(bottomX, plot.Bottom + 1), kBlack) << "the axis line's second row";

    // With 0 far below the view, the jumps down are cut one pixel below the plot.
    view->LeftAxis.Minimum = 100;
    view->RequestRepaint();
    PaintNow();
    screen = Screen(view->Handle());
    const int jumpX = view->Layout().Bottom.ValueToPx(1);
    EXPECT_EQ(screen.At(jumpX, plot.Bottom), kLine);
    for (int y = plot.Bottom + 1; y < screen.height; ++y) {
        EXPECT_NE(screen.At(jumpX, y), kLine) << "row " << y << " below the clip";
    }
}

TEST_F(ChartWindow, LabelUnderThePointerIsBoldUntilThePointerLeaves) {
    const chart::AxisLabels& labels = view->Layout().BottomLabels;
    ASSERT_GT(labels.Labels.size(), 4u);
    const int index = static_cast<int>(labels.Labels.size()) / 2;
    const RectPx rect = labels.Labels[static_cast<std::size_t>(index)].TextRect;
    const PointPx centre{(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
    const auto darkPixels = [&] {
        const Pixels screen = Screen(view->Handle());
        int dark = 0;
        for (int y = rect.Top; y < std::min(rect.Bottom + 2, screen.height); ++y) {
            for (int x = rect.Left - 3; x < rect.Right + 3; ++x) {
                const COLORREF c = screen.At(x, y);
                dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
            }
        }
        return dark;
    };
    const int regular = darkPixels();
    ASSERT_GT(regular, 0);

    MoveMouseTo(centre);
    ASSERT_TRUE(wintest::PumpUntil([&] { return view->Hovered().Bottom == index; }, 2s));
    EXPECT_EQ(view->Hovered().Left, -1);
    PaintNow();
    EXPECT_GT(darkPixels(), regular + regular / 5) << "bold strokes are wider";

    const int redraws = view->Stats().Redraws;
    MoveMouseTo({centre.XPx + 1, centre.YPx});
    EXPECT_EQ(view->Stats().Redraws, redraws) << "the same label: no repaint";

    MoveMouseTo({(Plot().Left + Plot().Right) / 2, (Plot().Top + Plot().Bottom) / 2});
    ASSERT_TRUE(wintest::PumpUntil([&] { return view->Hovered().Bottom == -1; }, 2s));
    PaintNow();
    EXPECT_EQ(darkPixels(), regular);

    MoveMouseTo(centre);
    ASSERT_TRUE(wintest::PumpUntil([&] { return view->Hovered().Bottom == index; }, 2s));
    POINT outside{-20, -20};
    ClientToScreen(view->Handle(), &outside);
    SetCursorPos(outside.x, outside.y);
    EXPECT_TRUE(wintest::PumpUntil([&] { return view->Hovered().Bottom == -1; }, 2s))
        << "leaving the chart clears the hovered label";
}

// The label at the right end of the bottom axis ("30", "10,000", "255" in a wider chart)
// ends inside the frame, drawn whole: its pixels are those of its text drawn alone at the
// same place, and its ink reaches no further than the frame.
TEST_F(ChartWindow, RightmostBottomLabelIsDrawnWholeInsideTheFrame) {
    const base::RectPx designed = view->BoundsPx();
    struct Case {
        int position;
        int widerPx;
    };
    for (const Case c : {Case{30, 0}, Case{10000, 0}, Case{256, 0}, Case{256, 400}}) {
        view->SetBoundsPx(
            {designed.Left, designed.Top, designed.Right + c.widerPx, designed.Bottom});
        form->chartWidthSlider.SetPosition(c.position);
        PaintNow();
        SCOPED_TRACE("chartWidthSlider at " + std::to_string(c.position) + ", " +
                     std::to_string(c.widerPx) + " px wider");
        const base::SizePx size = view->ClientSizePx();
        const chart::AxisLabel& last = view->Layout().BottomLabels.Labels.front();
        const RectPx rect = last.TextRect;
        EXPECT_LE(rect.Right, size.Width - chart::kBevelPx);
        EXPECT_GE(last.TickPx, Plot().Right - 30) << "a label near the right edge";

        // The text alone on the chart's colour, at the same place.
        ui::MemoryPicture alone;
        ASSERT_TRUE(alone.Ensure(size.Width, size.Height));
        const RECT all{0, 0, size.Width, size.Height};
        const ui::UniqueBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        FillRect(alone.Dc(), &all, face.Get());
        {
            ui::SelectGuard font(alone.Dc(), view->Fonts().Regular());
            SetBkMode(alone.Dc(), TRANSPARENT);
            SetTextColor(alone.Dc(), kBlack);
            ExtTextOutW(alone.Dc(), rect.Left, rect.Top, 0, nullptr,
                        reinterpret_cast<const wchar_t*>(last.Text.c_str()),
                        static_cast<UINT>(last.Text.size()), nullptr);
            GdiFlush();
        }
        const Pixels expected = Copy(alone);
        int ink = 0;
        int rightmostInk = 0;
        for (int y = rect.Top; y < rect.Bottom; ++y) {
            for (int x = rect.Left - 3; x < size.Width; ++x) {
                if (expected.At(x, y) == GetSysColor(COLOR_BTNFACE)) continue;
                ++ink;
                rightmostInk = std::max(rightmostInk, x);
            }
        }
        EXPECT_GT(ink, 10);
        EXPECT_LT(rightmostInk, size.Width - chart::kBevelPx) << "the ink ends inside the frame";
        const RectPx block{rect.Left - 2, rect.Top, size.Width - chart::kBevelPx, rect.Bottom};
        EXPECT_EQ(Differences(Copy(view->Picture()), expected, block), 0);
        ExpectScreenShows(Copy(view->Picture()));
    }
}

TEST_F(ChartWindow, NarrowWidthShowsTheLineToTheRightEdgeAndTheNextSampleClears) {
    ASSERT_TRUE(form->autoClearBox.Checked());
    Plus(199);
    ASSERT_EQ(form->outputLine.Count(), 200);
    form->chartWidthSlider.SetPosition(30);
    PaintNow();
    EXPECT_EQ(view->BottomAxis.DrawnMinimum, 0.0);
    EXPECT_EQ(view->BottomAxis.DrawnMaximum, 30.0);
    EXPECT_EQ(form->outputLine.Count(), 200) << "the points stay";
    const Pixels screen = Screen(view->Handle());
    const RectPx plot = Plot();
    const auto lineInColumn = [&](int x) {
        int count = 0;
        for (int y = plot.Top - 1; y <= plot.Bottom; ++y) count += screen.At(x, y) == kLine;
        return count;
    };
    EXPECT_GT(lineInColumn(plot.Right - 1), 0) << "the line reaches the right edge";
    EXPECT_EQ(lineInColumn(plot.Right), 0) << "and is cut there";

    Plus();
    PaintNow();
    EXPECT_EQ(form->outputLine.Count(), 0);
    ExpectScreenShows(StaticLayer());
}

// 10000 points over a plot 1000 pixels wide, drawn over an earlier dense line so that the
// picture's update from one line to the next is part of what is compared.
TEST_F(ChartWindow, DenseLineEqualsTheStaticLayerBlendedWithEveryVertexCoverage) {
    const base::RectPx bounds = view->BoundsPx();
    view->SetBoundsPx(
        {bounds.Left, bounds.Top, bounds.Right + 1000 - Plot().Width(), bounds.Bottom});
    form->autoClearBox.SetChecked(false);
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> level(0, 255);
    const auto fill = [&] {
        form->outputLine.Clear();
        for (int i = 0; i < 10000; ++i) form->outputLine.AddY(level(random));
    };
    ASSERT_TRUE(view->BottomAxis.SetMaximum(9999));
    fill();
    PaintNow();
    fill();
    PaintNow();
    const RectPx plot = Plot();
    ASSERT_EQ(plot.Width(), 1000);

    const std::vector<PointPx> vertices = ModelVertices();
    ASSERT_GT(vertices.size(), 10000u);
    const chart::CoverageMask mask =
        chart_test::RasterizeStairs(vertices, chart::StairsClipRect(plot));
    const Pixels under = StaticLayer();
    Pixels expected = under;
    int partial = 0;
    for (int y = mask.ClipPx.Top; y < mask.ClipPx.Bottom; ++y) {
        for (int x = mask.ClipPx.Left; x < mask.ClipPx.Right; ++x) {
            const int a = mask.At(x, y);
            partial += a > 0 && a < 255;
            const COLORREF u = under.At(x, y);
            const auto mix = [a](int line, int below) {
                return static_cast<BYTE>((line * a + below * (255 - a) + 127) / 255);
            };
            expected.colours[static_cast<std::size_t>(y * expected.width + x)] =
                RGB(mix(68, GetRValue(u)), mix(102, GetGValue(u)), mix(163, GetBValue(u)));
        }
    }
    ASSERT_GT(partial, 1000) << "the reference is anti-aliased";
    EXPECT_EQ(Differences(Copy(view->Picture()), expected), 0);
    ExpectScreenShows(expected);
}

TEST_F(ChartWindow, SurfaceDecidesWhetherTheLineIsAntiAliased) {
    EXPECT_EQ(view->DrawingSurface(), chart::Surface::AntiAliased) << "GDI+ is started";
    Plus(12);
    PaintNow();
    struct Case {
        chart::Surface surface;
        bool blended;
    };
    for (const Case c :
         {Case{chart::Surface::Aliased, false}, Case{chart::Surface::AntiAliased, true}}) {
        view->SetDrawingSurface(c.surface);
        PaintNow();
        const Pixels picture = Copy(view->Picture());
        const Pixels under = StaticLayer();
        int line = 0;
        int blended = 0;
        for (std::size_t i = 0; i < picture.colours.size(); ++i) {
            line += picture.colours[i] == kLine;
            blended += picture.colours[i] != kLine && picture.colours[i] != under.colours[i];
        }
        EXPECT_GT(line, 100);
        EXPECT_EQ(blended > 0, c.blended) << blended << " blended pixels";
        const std::vector<PointPx> vertices = ModelVertices();
        for (std::size_t i = 1; i < vertices.size(); ++i) {
            EXPECT_EQ(picture.At((vertices[i - 1].XPx + vertices[i].XPx) / 2,
                                 (vertices[i - 1].YPx + vertices[i].YPx) / 2),
                      kLine);
        }
    }
}

TEST_F(ChartWindow, LabelFontFollowsTheWindowsDensity) {
    EXPECT_EQ(view->Fonts().HeightPx(), 13) << "8 pt at 120 dpi";
    const int heightOfW = view->Fonts().HeightOfWPx();
    const int staticRedraws = view->Stats().StaticRedraws;
    form->ScaleToDpi(240);
    PaintNow();
    EXPECT_EQ(view->Fonts().HeightPx(), 27) << "8 pt at 240 dpi";
    EXPECT_NEAR(view->Fonts().HeightOfWPx(), 2 * heightOfW, 2);
    EXPECT_GT(view->Stats().StaticRedraws, staticRedraws);
    const RectPx plot = Plot();
    EXPECT_EQ(view->ClientSizePx().Height - chart::kBevelPx - plot.Bottom,
              view->Fonts().HeightOfWPx() + chart::kAxisBandPx)
        << "the bottom band is laid out with the new font";
}

TEST_F(ChartWindow, LabelsUseTheUsersSeparators) {
    wchar_t thousands[16]{};
    ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 16), 0);
    form->chartWidthSlider.SetPosition(10000);
    PaintNow();
    const std::u16string expected = u"10" + ui::ToU16(thousands) + u"000";
    bool found = false;
    for (const chart::AxisLabel& label : view->Layout().BottomLabels.Labels) {
        if (label.Value == 10000) found = label.Text == expected;
    }
    EXPECT_TRUE(found) << "no label 10000 written with the user's thousands separator";
}

// A change of the regional settings reaches the chart through the window and the labels
// are written anew with the new separators; the edit box reads its symbols again too.
TEST_F(ChartWindow, ARegionalChangeRelabelsTheAxes) {
    wchar_t original[16]{};
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, original, 16), 0);
    const auto label10000 = [this] {
        for (const chart::AxisLabel& label : view->Layout().BottomLabels.Labels) {
            if (label.Value == 10000) return label.Text;
        }
        return std::u16string();
    };
    const auto announce = [this] {
        SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
        PaintNow();
    };
    form->chartWidthSlider.SetPosition(10000);
    PaintNow();
    // The prefix's settings are put back whatever happens below.
    struct Restore {
        const wchar_t* thousands;
        ~Restore() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands); }
    } restore{original};
    const wchar_t* other = wcscmp(original, L".") == 0 ? L"'" : L".";
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, other));
    announce();
    EXPECT_EQ(label10000(), u"10" + ui::ToU16(other) + u"000");
    EXPECT_EQ(form->incrementBox.Symbols().Grouping, static_cast<char16_t>(other[0]));
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, original));
    announce();
    EXPECT_EQ(label10000(), u"10" + ui::ToU16(original) + u"000");
}

TEST_F(ChartWindow, RequestsBeforeAPaintCostOneRedrawAndUncoveringOnlyCopies) {
    const int before = view->Stats().Redraws;
    Plus(5);
    view->RequestRepaint();
    view->RequestRepaint();
    PaintNow();
    EXPECT_EQ(form->outputLine.Count(), 6);
    EXPECT_EQ(view->Stats().Redraws, before + 1);

    const int staticRedraws = view->Stats().StaticRedraws;
    InvalidateRect(view->Handle(), nullptr, FALSE);
    PaintNow();
    EXPECT_EQ(view->Stats().Redraws, before + 1) << "nothing changed: the picture is copied";
    ExpectScreenShows(Copy(view->Picture()));

    Plus();
    PaintNow();
    EXPECT_EQ(view->Stats().Redraws, before + 2);
    EXPECT_EQ(view->Stats().StaticRedraws, staticRedraws) << "a new point keeps the static layer";
}

}  // namespace
