#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <stdexcept>
#include <string>

#include "Program.h"
#include "WindowTestSupport.h"

namespace windowtest {
namespace {

int VisibleWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) count += widget->isVisible() ? 1 : 0;
    return count;
}

class ProgramTest : public WindowTest {
protected:
    PictureFolder pictures;
};

TEST_F(ProgramTest, AStartUpFailureIsReportedInABoxAndOnStandardErrorWithStatus1) {
    for (const char* file : {"Left.jpg", "Background.jpg"}) {
        SCOPED_TRACE(file);
        PictureFolder folder;
        if (std::string(file) == "Left.jpg") folder.Remove(file);
        else folder.Corrupt(file);
        int shownDuringBox = -1;
        msgBox.WhileOpen = [&](const Question&) { shownDuringBox = VisibleWindows(); };
        msgBox.Answer(toolkit::vbOK);
        const std::size_t asked = msgBox.Asked().size();

        testing::internal::CaptureStderr();
        const int status = RunProgram();
        const std::string stderrText = testing::internal::GetCapturedStderr();

        EXPECT_EQ(status, 1);
        ASSERT_EQ(msgBox.Asked().size(), asked + 1);
        const Question& box = msgBox.Asked().back();
        EXPECT_EQ(box.Title, "Tessarin");
        EXPECT_EQ(box.Buttons, toolkit::vbOKOnly + toolkit::vbCritical);
        EXPECT_NE(box.Prompt.find(folder.File(file).string()), std::string::npos) << box.Prompt;
        EXPECT_EQ(stderrText, "tessarin: " + box.Prompt + "\n");
        EXPECT_EQ(shownDuringBox, 0) << "the window showed before start-up finished";
        EXPECT_EQ(VisibleWindows(), 0);
    }
}

TEST_F(ProgramTest, TheWindowRunsUntilExitIsConfirmedThenStatus0) {
    msgBox.Answer(toolkit::vbNo);
    msgBox.Answer(toolkit::vbYes);
    int visibleWhenAsked = 0;
    msgBox.WhileOpen = [&](const Question&) { visibleWhenAsked += VisibleWindows(); };
    // Two close requests once the event loop runs: the first is declined.
    QTimer::singleShot(0, [] {
        for (int attempt = 0; attempt < 2; ++attempt)
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->isVisible()) widget->close();
    });
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("tessarin:"), std::string::npos);
    ASSERT_EQ(msgBox.Asked().size(), 2u);
    EXPECT_EQ(msgBox.Asked()[0].Prompt, "Do you really want to exit?");
    EXPECT_EQ(visibleWhenAsked, 2) << "the window was shown while it ran";
    EXPECT_EQ(VisibleWindows(), 0);
}

// A failure inside a handler of the running window, here the exit question's box breaking under the close
// request, is reported as a start-up failure is, and ends the program with status 1.
TEST_F(ProgramTest, AHandlerThatFailsIsReportedLikeAStartUpFailureAndEndsWithStatus1) {
    msgBox.WhileOpen = [](const Question& question) {
        if (question.Prompt == "Do you really want to exit?") throw std::runtime_error("the box broke");
    };
    msgBox.Answer(toolkit::vbOK);
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible()) widget->close();
    });
    testing::internal::CaptureStderr();
    const int status = RunProgram();
    const std::string stderrText = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, 1);
    ASSERT_EQ(msgBox.Asked().size(), 2u);
    const Question& box = msgBox.Asked()[1];
    EXPECT_EQ(box.Prompt, "the box broke");
    EXPECT_EQ(box.Title, "Tessarin");
    EXPECT_EQ(box.Buttons, toolkit::vbOKOnly + toolkit::vbCritical);
    // The offscreen platform may have written its own notes before.
    EXPECT_TRUE(stderrText.ends_with("\ntessarin: the box broke\n") || stderrText == "tessarin: the box broke\n")
        << stderrText;
    EXPECT_EQ(VisibleWindows(), 0);
}

}  // namespace
}  // namespace windowtest
