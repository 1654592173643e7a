#include <gtest/gtest.h>

#include <vector>

#include "common/ui/core/VideoGridLayout.h"

namespace {

std::vector<int> VisibleCells(const CVideoGridLayout& grid) {
    std::vector<int> cells;
    for (int i = 0; i < CVideoGridLayout::kCellCount; ++i) {
        if (grid.IsVisible(i)) cells.push_back(i);
    }
    return cells;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> cells;
    for (int i = first; i <= last; ++i)
        cells.push_back(i);
    return cells;
}

// Pages a layout runs through before SetLayout brings it back to page 0.
int PagesOf(int total, int layout) {
    CVideoGridLayout grid;
    grid.Init(total, layout);
    int pages = 1;
    for (grid.SetLayout(layout); grid.Page() != 0; grid.SetLayout(layout))
        ++pages;
    return pages;
}

}  // namespace

TEST(VideoGridLayoutTest, InitRefusesTotalsThatAreNoLayoutAndChangesNothing) {
    CVideoGridLayout grid;
    ASSERT_EQ(grid.Init(16, 4), 0);
    grid.SetLayout(4);
    grid.SetChannelName(3, "Gate");
    EXPECT_EQ(grid.Init(8, 16), -1);
    EXPECT_EQ(grid.Init(0, 4), -1);
    EXPECT_EQ(grid.Total(), 16);
    EXPECT_EQ(grid.Layout(), 4);
    EXPECT_EQ(grid.Page(), 1);
    EXPECT_EQ(grid.ChannelName(3), "Gate");
    EXPECT_EQ(VisibleCells(grid), Range(4, 7));
}

TEST(VideoGridLayoutTest, InitShowsTheFirstPageAndClearsTitlesAndSelection) {
    CVideoGridLayout grid;
    grid.Init(256, 16);
    grid.SetChannelName(0, "Yard");
    grid.SelectAt(1, 1);
    ASSERT_EQ(grid.Init(256, 16), 0);
    EXPECT_EQ(VisibleCells(grid), Range(0, 15));
    EXPECT_EQ(grid.Selected(), -1);
    EXPECT_EQ(grid.PreviousLayout(), 1);
    EXPECT_EQ(grid.ChannelName(0), "");
    // A layout that is no layout value is taken but shows nothing.
    ASSERT_EQ(grid.Init(4, 1), 0);
    EXPECT_TRUE(VisibleCells(grid).empty());
}

TEST(VideoGridLayoutTest, PagesPerLayoutForBothTotalsInUse) {
    const int layouts[] = {4, 9, 16, 25, 36, 64, 144, 256};
    const int pages_256[] = {64, 29, 16, 11, 8, 4, 2, 1};
    const int pages_16[] = {4, 2, 1, 1, 1, 1, 1, 1};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(PagesOf(256, layouts[i]), pages_256[i]) << "layout " << layouts[i];
        EXPECT_EQ(PagesOf(16, layouts[i]), pages_16[i]) << "layout " << layouts[i];
    }
}

TEST(VideoGridLayoutTest, LastPagesShowOnlyCellsBelow256) {
    CVideoGridLayout grid;
    grid.Init(256, 9);
    for (int i = 0; i < 28; ++i)
        grid.SetLayout(9);
    EXPECT_EQ(grid.Page(), 28);
    EXPECT_EQ(VisibleCells(grid), Range(252, 255));
    grid.SetLayout(9);
    EXPECT_EQ(grid.Page(), 0);
    EXPECT_EQ(VisibleCells(grid), Range(0, 8));

    grid.SetLayout(144);  // another layout starts at page 0
    EXPECT_EQ(grid.Page(), 0);
    grid.SetLayout(144);
    EXPECT_EQ(VisibleCells(grid), Range(144, 255));

    grid.Init(16, 9);
    grid.SetLayout(9);
    EXPECT_EQ(grid.Page(), 1);
    EXPECT_EQ(VisibleCells(grid), Range(9, 17));  // cells past the total are shown too
}

TEST(VideoGridLayoutTest, SetLayoutRefusesOtherValuesAndKeepsTheFlags) {
    CVideoGridLayout grid;
    grid.Init(256, 4);
    grid.SetLayout(4);
    for (int bad : {10, 1, 0, -4, 512}) {
        EXPECT_EQ(grid.SetLayout(bad), -1);
        EXPECT_EQ(VisibleCells(grid), Range(4, 7));
        EXPECT_EQ(grid.Layout(), 4);
    }
}

TEST(VideoGridLayoutTest, CellsOfA727By606AreaInLayout4) {
    CVideoGridLayout grid;
    grid.Init(16, 4);
    grid.ComputeCells(0, 0, 727, 606);
    const VideoCell cell = grid.Cell(3);
    EXPECT_EQ(cell.x, 363);
    EXPECT_EQ(cell.y, 303);
    EXPECT_EQ(cell.width, 363);
    EXPECT_EQ(cell.height, 303);
    EXPECT_EQ(cell.video_x, 365);
    EXPECT_EQ(cell.video_y, 317);
    EXPECT_EQ(cell.video_width, 359);
    EXPECT_EQ(cell.video_height, 287);
    EXPECT_EQ(cell.visible, 1);
    // The leftover column 726 lies beyond every cell; hit tests still count it as the
    // inclusive right edge of cells 1 and 3.
    EXPECT_EQ(cell.x + cell.width, 726);
    EXPECT_EQ(grid.HitTest(726, 10), 1);
}

TEST(VideoGridLayoutTest, LargeLayoutsHaveNoTitleBand) {
    CVideoGridLayout grid;
    for (int layout : {64, 144, 256}) {
        grid.Init(256, layout);
        grid.ComputeCells(0, 0, 800, 640);
        const VideoCell cell = grid.Cell(1);
        EXPECT_FALSE(grid.HasTitleBand());
        EXPECT_EQ(cell.video_y, cell.y) << layout;
        EXPECT_EQ(cell.video_height, cell.height - 2) << layout;
        EXPECT_EQ(cell.video_x, cell.x + 2) << layout;
    }
    grid.Init(256, 36);
    EXPECT_TRUE(grid.HasTitleBand());
}

TEST(VideoGridLayoutTest, NewlyShownCellsAlreadyHaveTheirNewRectangles) {
    CVideoGridLayout grid;
    grid.Init(16, 4);
    grid.ComputeCells(0, 0, 400, 300);
    grid.SetLayout(4);  // page 1 without a new ComputeCells
    EXPECT_EQ(grid.Cell(4).x, 0);
    EXPECT_EQ(grid.Cell(4).y, 0);
    EXPECT_EQ(grid.Cell(7).x, 200);
    EXPECT_EQ(grid.Cell(7).y, 150);
    grid.SetSelected(5);
    grid.ToggleSingle();
    EXPECT_EQ(grid.Cell(5).width, 400);
    grid.ToggleSingle();
    EXPECT_EQ(grid.Cell(5).width, 200);
}

TEST(VideoGridLayoutTest, HitTestGivesSharedEdgesToTheLowerIndex) {
    CVideoGridLayout grid;
    grid.Init(16, 4);
    grid.ComputeCells(0, 0, 400, 300);
    EXPECT_EQ(grid.HitTest(200, 100), 0);  // edge between cells 0 and 1
    EXPECT_EQ(grid.HitTest(201, 100), 1);
    EXPECT_EQ(grid.HitTest(200, 150), 0);  // corner shared by all four
    EXPECT_EQ(grid.HitTest(100, 151), 2);
    EXPECT_EQ(grid.HitTest(401, 0), -1);
    grid.SetSelected(2);
    EXPECT_EQ(grid.SelectAt(500, 5), -1);  // no cell there: nothing changes
    EXPECT_EQ(grid.Layout(), 4);
    EXPECT_EQ(grid.Selected(), 2);
    EXPECT_EQ(VisibleCells(grid), Range(0, 3));
}

TEST(VideoGridLayoutTest, ClickingEnlargesACellAndClickingAgainReturnsToTheLayoutAndPage) {
    CVideoGridLayout grid;
    grid.Init(16, 4);
    grid.SetLayout(4);  // page 1: cells 4..7
    grid.ComputeCells(0, 0, 400, 300);
    EXPECT_EQ(grid.SelectAt(300, 250), 7);
    EXPECT_EQ(grid.Layout(), 1);
    EXPECT_EQ(grid.PreviousLayout(), 4);
    EXPECT_EQ(VisibleCells(grid), std::vector<int>{7});
    grid.ComputeCells(0, 0, 400, 300);
    const VideoCell whole = grid.Cell(7);
    EXPECT_EQ(whole.x, 0);
    EXPECT_EQ(whole.width, 400);
    EXPECT_EQ(whole.video_y, 14);
    EXPECT_EQ(whole.video_height, 284);

    EXPECT_EQ(grid.SelectAt(5, 5), 7);
    EXPECT_EQ(grid.Layout(), 4);
    EXPECT_EQ(grid.Page(), 1);
    EXPECT_EQ(VisibleCells(grid), Range(4, 7));
}

TEST(VideoGridLayoutTest, SingleModeNeedsASelectionAndSetLayoutLeavesIt) {
    CVideoGridLayout grid;
    grid.Init(256, 16);
    EXPECT_EQ(grid.ToggleSingle(), -1);
    EXPECT_EQ(grid.Layout(), 16);
    EXPECT_EQ(VisibleCells(grid), Range(0, 15));

    grid.SetSelected(5);
    grid.ToggleSingle();
    EXPECT_EQ(grid.Layout(), 1);
    grid.SetLayout(16);  // from single mode: the given layout at page 0
    EXPECT_EQ(grid.Layout(), 16);
    EXPECT_EQ(grid.Page(), 0);
    EXPECT_EQ(grid.Selected(), 5);
    EXPECT_EQ(grid.PreviousLayout(), 16);

    grid.Init(256, 256);
    grid.SetSelected(200);
    grid.ToggleSingle();
    grid.ToggleSingle();
    EXPECT_EQ(VisibleCells(grid).size(), 256u);
}

TEST(VideoGridLayoutTest, TitleTextsByMode) {
    CVideoGridLayout grid;
    grid.Init(16, 16);
    EXPECT_EQ(grid.TitleText(4), "CH05");
    grid.SetChannelName(4, "Front door");
    EXPECT_EQ(grid.TitleText(4), "Front door");
    EXPECT_EQ(grid.SetTitleMode(1), 1);
    EXPECT_EQ(grid.TitleText(4), "05");
    EXPECT_EQ(grid.TitleText(255), "256");
    grid.SetTitleMode(2);
    EXPECT_EQ(grid.TitleText(4), "");
    grid.SetChannelName(256, "out of range");
    grid.SetChannelName(-1, "out of range");
    EXPECT_EQ(grid.ChannelName(256), "");
}
