#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/toolkit/ControlArray.h"
#include "platform/toolkit/Form.h"
#include "support/RecordingView.h"

namespace {

using Lines = std::vector<std::string>;

// The form's own events and what its view hears, in one journal.
class JournalForm : public toolkit::Form {
public:
    JournalForm() : Form(Design{"Journal", 100, 80}) {}

    testsupport::RecordingView view{*this};
    std::vector<std::string>& journal = view.Journal;
    std::int16_t answer = 0;  // what the unload event sets Cancel to
    bool closeAgainWhileUnloading = false;

protected:
    void Form_Load() override { journal.push_back(Visible() ? "load while visible" : "load"); }
    void Form_Unload(std::int16_t& Cancel) override {
        journal.push_back("unload");
        if (closeAgainWhileUnloading) journal.push_back(RequestClose() ? "nested closed" : "nested refused");
        Cancel = answer;
    }
};

TEST(FormTest, ShowRunsTheLoadEventOnceBeforeTheWindowAppears) {
    JournalForm form;
    EXPECT_EQ(form.ScaleWidth(), 100.0f);
    EXPECT_EQ(form.ScaleHeight(), 80.0f);
    EXPECT_EQ(gdi::GetSurfaceBits(form.hDC()).width, 100);
    form.Show();
    form.Show();
    EXPECT_EQ(form.journal, (Lines{"load", "show"}));
    EXPECT_TRUE(form.Visible());
}

TEST(FormTest, CancelledCloseRequestsLeaveTheWindowOpen) {
    JournalForm form;
    form.Show();
    form.answer = -1;
    EXPECT_FALSE(form.RequestClose());
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(form.Visible());

    form.answer = 0;
    form.closeAgainWhileUnloading = true;
    EXPECT_TRUE(form.RequestClose());
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.RequestClose()) << "a closed window stays closed without asking again";
    EXPECT_EQ(form.journal, (Lines{"load", "show", "unload", "unload", "nested refused", "close"}));
}

TEST(FormTest, ALoadFailureLeavesTheWindowHidden) {
    struct FailingForm : toolkit::Form {
        FailingForm() : Form(Design{"Failing", 10, 10}) {}
        void Form_Load() override { throw std::runtime_error("tile picture missing"); }
    } form;
    testsupport::RecordingView view(form);
    EXPECT_THROW(form.Show(), std::runtime_error);
    EXPECT_TRUE(view.Journal.empty());
    EXPECT_FALSE(form.Visible());
}

// A cell table that only moves its cursor and renames its cells.
struct Cursor : toolkit::CellTable {
    int Rows() const override { return 1; }
    int Columns() const override { return 2; }
    std::string CellName(int, int) const override { return ""; }
    toolkit::CellBox CellRect(int, int) const override { return {}; }
    void PressCell(int, int) override {}
    int CursorRow() const override { return 0; }
    int CursorColumn() const override { return column; }
    bool CursorVisible() const override { return true; }
    void KeyDown(toolkit::Key) override {
        column = 1;
        ReportCursorChanged();
        ReportCellChanged(0, 1);
    }
    int column = 0;
};

// Every control reports to the view of the form it is placed on, array elements loaded later too, and to nothing
// once that view is gone; a form has one view at a time.
TEST(FormTest, ChangesReachTheAttachedViewAndNothingAfterItDetaches) {
    testsupport::PlainForm form({"Controls", 100, 80});
    toolkit::Label::Design text;
    text.Caption = "Ready";
    toolkit::PictureBox::Design buffer;
    buffer.Width = buffer.Height = 10;
    toolkit::PictureBox::Design board = buffer;
    board.Width = 20;
    toolkit::Label label(text);
    toolkit::ControlArray<toolkit::PictureBox> buffers(0, buffer);
    toolkit::PictureBox surface(board);
    Cursor cursor;
    form.Place(label);
    form.PlaceArray(buffers);
    form.Place(surface);
    surface.Table(&cursor);
    toolkit::MenuItem& option = form.AddMenu({.Name = "mnuFile", .Caption = "File"}).Add({.Caption = "Human"});
    const auto changeEverything = [&](const std::string& caption, float width) {
        label.Caption(caption);
        buffers(1).Width(width);
        surface.Refresh();
        option.Checked(!option.Checked());
        option.Enabled(!option.Enabled());
        cursor.KeyDown(toolkit::Key::Right);
    };
    {
        testsupport::RecordingView view(form);
        EXPECT_THROW(testsupport::RecordingView{form}, std::logic_error);
        buffers.Load(1);
        changeEverything("Go", 30);
        EXPECT_EQ(view.Journal, (Lines{"label Go", "surface 30x10 hidden", "menu Human checked",
                                       "menu Human checked disabled", "cursor 0,1", "cell 0,1"}));
        EXPECT_EQ(view.Repaints, 1);
    }
    changeEverything("Gone", 40);
    testsupport::RecordingView next(form);
    option.Caption("Computer");
    EXPECT_EQ(next.Journal, (Lines{"menu Computer"}));
}

}  // namespace
