#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/toolkit/Form.h"

namespace {

class JournalForm : public toolkit::Form {
public:
    JournalForm() : Form(Design{"Journal", 100, 80}) {
        ShowWindow = [this] { journal.push_back("shown"); };
        CloseWindow = [this] { journal.push_back("closed"); };
    }

    std::vector<std::string> journal;
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
    EXPECT_EQ(form.journal, (std::vector<std::string>{"load", "shown"}));
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Loaded());
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
    EXPECT_EQ(form.journal, (std::vector<std::string>{"load", "shown", "unload", "unload", "nested refused", "closed"}));
}

TEST(FormTest, ALoadFailureLeavesTheWindowHidden) {
    struct FailingForm : toolkit::Form {
        FailingForm() : Form(Design{"Failing", 10, 10}) {
            ShowWindow = [this] { shown = true; };
        }
        void Form_Load() override { throw std::runtime_error("tile picture missing"); }
        bool shown = false;
    } form;
    EXPECT_THROW(form.Show(), std::runtime_error);
    EXPECT_FALSE(form.shown);
    EXPECT_FALSE(form.Visible());
}

}  // namespace
