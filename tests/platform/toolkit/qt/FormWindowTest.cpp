#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>
#include <filesystem>
#include <set>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "../BitmapFiles.h"
#include "support/ScratchFolder.h"
#include "support/QtTestApplication.h"
#include "support/TestPlatform.h"
#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "platform/toolkit/qt/QtPlatform.h"

namespace {

using gdi::RGB;
using toolkit::MenuItem;
using toolkit::PictureBox;
using toolkit::qt::FormWindow;

QApplication& Application() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

struct Press {
    std::int16_t Button, Shift;
    float X, Y;
};

// A small window with one visible and one hidden surface, a label and a menu.
class SampleForm : public toolkit::Form {
public:
    SampleForm()
        : Form(Design{"Sample", 200, 150, false, true, false, RGB(0, 0, 0)}),
          Surface(SurfaceDesign(20, 30, true)),
          Hidden(SurfaceDesign(300, 10, false)),
          Status(toolkit::Label::Design{
              10, 120, 180, 20, "Ready", {}, RGB(255, 255, 255), toolkit::Alignment::Center, true}) {
        Place(Surface);
        Place(Hidden);
        Place(Status);
        MenuItem& file = AddMenu({.Name = "mnuFile", .Caption = "File"});
        New = &file.Add({.Name = "mnuNew", .Caption = "New game", .Shortcut = "Ctrl+N"});
        file.Add({.Name = "mnuLine", .Caption = "-"});
        Option = &file.Add({.Name = "mnuCheck", .Index = 1, .Caption = "Human", .Checked = true});
        New->Click = [this] { ++newClicks; };
        Option->Click = [this] { ++optionClicks; };
        Surface.MouseDown = [this](std::int16_t b, std::int16_t s, float x, float y) {
            presses.push_back({b, s, x, y});
        };
        Hidden.MouseDown = Surface.MouseDown;
    }

    static PictureBox::Design SurfaceDesign(int left, int top, bool visible) {
        PictureBox::Design design;
        design.Left = left;
        design.Top = top;
        design.Width = 100;
        design.Height = 80;
        design.BackColor = RGB(224, 224, 224);
        design.Visible = visible;
        return design;
    }

    PictureBox Surface;
    PictureBox Hidden;
    toolkit::Label Status;
    MenuItem* New = nullptr;
    MenuItem* Option = nullptr;
    std::vector<Press> presses;
    int newClicks = 0;
    int optionClicks = 0;
    std::int16_t cancel = 0;

    bool failUnload = false;

protected:
    void Form_Unload(std::int16_t& Cancel) override {
        if (failUnload) throw std::logic_error("the unload event failed");
        Cancel = cancel;
    }
};

class FormWindowTest : public ::testing::Test {
protected:
    FormWindowTest() {
        form.Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Presses through the window, so the press lands on whatever widget lies there.
    void PressAt(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mousePress(window.windowHandle(), button, modifiers, widget->mapTo(&window, at));
        QTest::mouseRelease(window.windowHandle(), button, modifiers, widget->mapTo(&window, at));
    }

    QColor PixelAt(QPoint windowPoint) {
        const QImage shot = window.Canvas()->grab().toImage();
        return shot.pixelColor(windowPoint);
    }

    QApplication& application = Application();
    SampleForm form;
    FormWindow window{form};
};

TEST_F(FormWindowTest, ClientAreaIsFixedAndTheTitleBarHasNoMaximiseBox) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Sample");
    EXPECT_EQ(window.Canvas()->size(), QSize(200, 150));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);

    window.resize(600, 600);
    QApplication::processEvents();
    EXPECT_EQ(window.Canvas()->size(), QSize(200, 150));
    EXPECT_EQ(window.size(), window.minimumSize());
}

TEST_F(FormWindowTest, PressesReachOnlyTheVisibleSurfaceInItsOwnPixels) {
    QWidget* surface = window.SurfaceWidget(form.Surface);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->geometry(), QRect(20, 30, 100, 80));
    EXPECT_EQ(window.SurfaceWidget(form.Hidden), nullptr) << "hidden surfaces are never shown";

    PressAt(surface, QPoint(0, 0));
    PressAt(surface, QPoint(99, 79), Qt::RightButton, Qt::ShiftModifier);
    PressAt(surface, QPoint(50, 7), Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier);
    PressAt(window.Canvas(), QPoint(19, 29));
    PressAt(window.Canvas(), QPoint(120, 110));
    PressAt(window.Canvas(), QPoint(150, 125));
    ASSERT_EQ(form.presses.size(), 3u);
    EXPECT_EQ(form.presses[0].Button, 1);
    EXPECT_EQ(form.presses[0].X, 0.0f);
    EXPECT_EQ(form.presses[0].Y, 0.0f);
    EXPECT_EQ(form.presses[1].Button, 2);
    EXPECT_EQ(form.presses[1].Shift, 1);
    EXPECT_EQ(form.presses[1].X, 99.0f);
    EXPECT_EQ(form.presses[1].Y, 79.0f);
    EXPECT_EQ(form.presses[2].Button, 4);
    EXPECT_EQ(form.presses[2].Shift, 6);
}

// At a fractional scale the last device pixels lie past the last surface pixel's middle; they still press it.
TEST_F(FormWindowTest, APressOnTheLastDevicePixelsAtAFractionalScaleStaysOnTheSurface) {
    QWidget* surface = window.SurfaceWidget(form.Surface);
    for (const QPointF at : {QPointF(99.67, 79.6), QPointF(0.4, 10.5)}) {
        QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &press);
    }
    ASSERT_EQ(form.presses.size(), 2u);
    EXPECT_EQ(form.presses[0].X, 99.0f);
    EXPECT_EQ(form.presses[0].Y, 79.0f);
    EXPECT_EQ(form.presses[1].X, 0.0f);
    EXPECT_EQ(form.presses[1].Y, 10.0f);
}

// Columns of alternate black and white surface pixels, shown at a device-pixel ratio: the shades the device
// pixels of one row take.
std::set<int> ShadesAtScale(FormWindow& window, PictureBox& surface, qreal scale) {
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 80; ++y) gdi::SetPixel(surface.hDC(), x, y, x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    QImage shot(QSize(100, 80) * scale, QImage::Format_RGB32);
    shot.setDevicePixelRatio(scale);
    window.SurfaceWidget(surface)->render(&shot);
    std::set<int> shades;
    for (int x = 0; x < shot.width(); ++x) shades.insert(qGray(shot.pixel(x, 40)));
    return shades;
}

TEST_F(FormWindowTest, FractionalScalesResampleSmoothlyAndWholeOnesReplicatePixels) {
    EXPECT_EQ(ShadesAtScale(window, form.Surface, 2), (std::set<int>{0, 255}));
    EXPECT_EQ(ShadesAtScale(window, form.Surface, 3), (std::set<int>{0, 255}));
    for (const qreal scale : {1.25, 1.5, 1.75}) EXPECT_GT(ShadesAtScale(window, form.Surface, scale).size(), 2u);
}

// The model outlives the window; a change made afterwards must not reach the window's widgets and actions.
TEST(FormWindowLifetimeTest, TheWindowDetachesFromTheModelItOutlives) {
    Application();
    SampleForm form;
    { FormWindow window{form}; }
    form.Option->Checked(false);
    form.Status.Caption("Gone");
    form.Surface.Refresh();
}

TEST_F(FormWindowTest, ShowsTheFormImageTheSurfaceImageAndTheLabel) {
    gdi::SetPixel(form.hDC(), 5, 5, RGB(1, 2, 3));
    gdi::SetPixel(form.Surface.hDC(), 10, 10, RGB(200, 0, 0));
    EXPECT_EQ(PixelAt({5, 5}), QColor(1, 2, 3));
    EXPECT_EQ(PixelAt({30, 40}), QColor(200, 0, 0));
    EXPECT_EQ(PixelAt({21, 31}), QColor(224, 224, 224));

    const auto whitePixels = [this] {
        const QImage label = window.Canvas()->grab(QRect(10, 120, 180, 20)).toImage();
        int count = 0;
        for (int y = 0; y < label.height(); ++y)
            for (int x = 0; x < label.width(); ++x) count += label.pixelColor(x, y).lightness() > 128;
        return count;
    };
    const int ready = whitePixels();
    EXPECT_GT(ready, 20) << "the label's text is drawn in white over the black image";
    form.Status.Caption("");
    EXPECT_EQ(whitePixels(), 0);
}

TEST_F(FormWindowTest, RefreshRepaintsAtOnce) {
    int painted = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++*count;
            return false;
        }
    } counter(&painted);
    window.SurfaceWidget(form.Surface)->installEventFilter(&counter);
    QApplication::processEvents();
    painted = 0;
    form.Surface.Refresh();
    EXPECT_EQ(painted, 1) << "Refresh paints before it returns";
}

TEST_F(FormWindowTest, SizeAndVisibilityChangesReachTheWidget) {
    QWidget* surface = window.SurfaceWidget(form.Surface);
    form.Surface.Width(60);
    EXPECT_EQ(surface->size(), QSize(60, 80));
    form.Surface.Visible(false);
    EXPECT_FALSE(surface->isVisible());
    form.Hidden.Visible(true);
    ASSERT_NE(window.SurfaceWidget(form.Hidden), nullptr);
    EXPECT_TRUE(window.SurfaceWidget(form.Hidden)->isVisible());
    EXPECT_EQ(window.SurfaceWidget(form.Hidden)->geometry(), QRect(300, 10, 100, 80));
}

TEST_F(FormWindowTest, MenusFollowTheModelAndChoosingRunsTheClickEvent) {
    ASSERT_NE(window.MenuBar(), nullptr);
    const QList<QAction*> top = window.MenuBar()->actions();
    ASSERT_EQ(top.size(), 1);
    EXPECT_EQ(top[0]->text(), "File");
    const QList<QAction*> items = top[0]->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_TRUE(items[2]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());

    items[2]->trigger();
    EXPECT_EQ(form.optionClicks, 1);
    EXPECT_TRUE(items[2]->isChecked()) << "only the model decides the check mark";
    form.Option->Checked(false);
    EXPECT_FALSE(items[2]->isChecked());

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form.newClicks, 1);
}

// Alt+F read in one go: the shortcut opens the menu at once, and the press of Alt, queued for the form window, comes
// after it; Qt hands it to the menu, which a press of Alt closes. Only a press read while the menu holds the keyboard
// closes it.
TEST_F(FormWindowTest, AModifierPressedBeforeAMenuOpenedDoesNotCloseIt) {
    const auto pressAlt = [](QWindow& to) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QApplication::sendEvent(&to, &event);
    };
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QMenu& file = *window.MenuBar()->actions()[0]->menu();
    window.MenuBar()->setActiveAction(file.menuAction());
    ASSERT_TRUE(file.isVisible());

    pressAlt(*window.windowHandle());
    EXPECT_TRUE(file.isVisible());
    pressAlt(*file.windowHandle());
    EXPECT_FALSE(file.isVisible());
}

TEST_F(FormWindowTest, TheCloseBoxAsksTheFormAndHonoursCancel) {
    form.cancel = -1;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(form.Closed());

    form.cancel = 0;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FormWindowTest, ClosingFromTheModelClosesTheWindow) {
    EXPECT_TRUE(form.RequestClose());
    EXPECT_FALSE(window.isVisible());
}

// Handlers run inside Qt's event loop; an exception escaping one ends the loop with status 1 after a report.
class HandlerFailureTest : public FormWindowTest {
protected:
    HandlerFailureTest() {
        platform_.Ask = [this](const std::string& Prompt, std::int16_t Buttons,
                               const std::string& Title) -> std::int16_t {
            boxes.push_back({Prompt, Buttons, Title});
            if (boxFails) throw std::runtime_error("no box today");
            return toolkit::vbOK;
        };
    }

    // Runs `act` from inside the event loop; answers the status the loop ended with (-1: it never ended).
    int RunLoop(const std::function<void()>& act) {
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        watchdog.start(10000);
        QTimer::singleShot(0, &window, act);
        testing::internal::CaptureStderr();
        const int status = QApplication::exec();
        stderrText = testing::internal::GetCapturedStderr();
        return status;
    }

    QAction* NewGame() const { return window.MenuBar()->actions()[0]->menu()->actions()[0]; }

    struct Box {
        std::string Prompt;
        std::int16_t Buttons;
        std::string Title;
    };
    std::vector<Box> boxes;
    bool boxFails = false;
    std::string stderrText;

private:
    testsupport::TestPlatform platform_;
};

TEST_F(HandlerFailureTest, AMenuHandlerThatThrowsIsReportedAndNoHandlerRunsAfterIt) {
    form.New->Click = [this] {
        ++form.newClicks;
        throw std::runtime_error("the board is gone");
    };
    const int status = RunLoop([this] {
        NewGame()->trigger();
        NewGame()->trigger();
        PressAt(window.SurfaceWidget(form.Surface), QPoint(5, 5));
    });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(window.Failed());
    EXPECT_EQ(form.newClicks, 1);
    EXPECT_TRUE(form.presses.empty()) << "a press after the failure reached the model";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Prompt, "the board is gone");
    EXPECT_EQ(boxes[0].Buttons, toolkit::vbOKOnly + toolkit::vbCritical);
    EXPECT_EQ(boxes[0].Title, "Sample");
    const std::string line = toolkit::App::EXEName() + ": the board is gone\n";
    EXPECT_TRUE(stderrText == line || stderrText.ends_with("\n" + line)) << stderrText;
}

TEST_F(HandlerFailureTest, APressHandlerThrowingAnythingGoesToTheProgramsOwnReport) {
    std::vector<std::string> reported;
    window.ReportFailure = [&reported](const std::string& What) { reported.push_back(What); };
    form.Surface.MouseDown = [](std::int16_t, std::int16_t, float, float) { throw 42; };
    EXPECT_EQ(RunLoop([this] { PressAt(window.SurfaceWidget(form.Surface), QPoint(5, 5)); }), 1);
    EXPECT_EQ(reported, std::vector<std::string>{"an unknown error"});
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(stderrText.find("an unknown error"), std::string::npos) << "reported twice";
}

TEST_F(HandlerFailureTest, AFailedCloseRequestLeavesTheWindowAndEndsEvenWhenTheBoxFails) {
    form.failUnload = true;
    boxFails = true;
    EXPECT_EQ(RunLoop([this] { window.close(); }), 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(form.Closed());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_NE(stderrText.find("the unload event failed"), std::string::npos);
}

// Through the loader with the Qt platform installed, as the program loads its pictures.
class QtDecoderTest : public ::testing::Test {
protected:
    QtDecoderTest() { Application(); }

    static std::string ErrorOf(const std::string& file) {
        try {
            toolkit::LoadPicture(file);
        } catch (const toolkit::PictureLoadError& e) {
            return e.what();
        }
        return "";
    }

    testsupport::ScratchFolder folder{"qt-decoder"};

private:
    toolkit::qt::QtPlatform qt_;
    const toolkit::Platform::Installation installed_{qt_};
};

TEST_F(QtDecoderTest, ReadsPicturesAndKeepsTheirTransparency) {
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30));
    image.setPixelColor(1, 2, Qt::transparent);
    const std::string png = folder.Path() + "/piece.png";
    ASSERT_TRUE(image.save(QString::fromStdString(png)));
    const toolkit::StdPicture picture = toolkit::LoadPicture(png);
    ASSERT_EQ(picture->Width, 4);
    ASSERT_EQ(picture->Height, 3);
    EXPECT_EQ(picture->Pixels[0], 0xFF0A141Eu);
    EXPECT_EQ(picture->Pixels[2 * 4 + 1] >> 24, 0u);

    const std::string jpeg = folder.Path() + "/tile.jpg";
    ASSERT_TRUE(image.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(jpeg)));
    EXPECT_EQ(toolkit::LoadPicture(jpeg)->Width, 4);
}

TEST_F(QtDecoderTest, TruncatedAndUnreadableFilesNameTheFile) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const std::string jpeg = folder.Path() + "/Up.jpg";
    ASSERT_TRUE(image.save(QString::fromStdString(jpeg)));
    std::filesystem::resize_file(jpeg, std::filesystem::file_size(jpeg) * 9 / 10);
    EXPECT_NE(ErrorOf(jpeg).find("Up.jpg"), std::string::npos);
    EXPECT_NE(ErrorOf(jpeg).find("truncated"), std::string::npos);

    auto truncated = testing_files::Bitmap24(40, 40);
    truncated.resize(200);
    const std::string cut = folder.Write("cut.bmp", truncated);
    const std::string text = folder.Write("cross.gif", std::string("GIF? no, just some words in a file"));
    EXPECT_NE(ErrorOf(cut).find("cut.bmp"), std::string::npos);
    EXPECT_NE(ErrorOf(text).find("cross.gif"), std::string::npos);
    EXPECT_NE(ErrorOf(folder.Path() + "/Bullet.gif").find("not found"), std::string::npos);
}

// The loader's bytes are decoded as their signature says, whatever the file is called and even when the file
// has gone since; a decoder called with a name alone reads the file itself.
TEST_F(QtDecoderTest, DecodesTheBytesItIsHandedByTheirSignature) {
    QImage image(5, 2, QImage::Format_RGB32);
    image.fill(QColor(200, 100, 50));
    const std::string gif = folder.Path() + "/tile.gif";
    ASSERT_TRUE(image.save(QString::fromStdString(gif), "png"));
    const std::vector<std::uint8_t> bytes = toolkit::ReadPictureFile(gif);
    std::filesystem::remove(gif);

    const toolkit::StdPicture picture = toolkit::qt::DecodePicture(toolkit::EncodedPicture(gif, bytes));
    ASSERT_EQ(picture->Width, 5);
    ASSERT_EQ(picture->Height, 2);
    EXPECT_EQ(picture->Pixels[9], 0xFFC86432u);

    const std::string bmp = folder.Write("wall.bmp", testing_files::Bitmap24(3, 2));
    EXPECT_EQ(toolkit::qt::DecodePicture(bmp)->Pixels[5], 0xFF140A63u) << "pixel (2, 1) read from the file";
    EXPECT_THROW(toolkit::qt::DecodePicture(gif), toolkit::PictureLoadError);
}

// Pixels other than 32-bit words are drawn into the picture's own, their transparency kept.
TEST_F(QtDecoderTest, APalettedPictureKeepsItsColoursAndTransparency) {
    QImage image(3, 1, QImage::Format_Indexed8);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgb(200, 100, 50)});
    image.fill(1);
    image.setPixel(0, 0, 0);
    const std::string png = folder.Path() + "/paletted.png";
    ASSERT_TRUE(image.save(QString::fromStdString(png)));
    const toolkit::StdPicture picture = toolkit::qt::DecodePicture(png);
    EXPECT_FALSE(picture->Opaque);
    EXPECT_EQ(picture->Pixels[0] >> 24, 0u);
    EXPECT_EQ(picture->Pixels[2], 0xFFC86432u);
}

TEST_F(QtDecoderTest, AbsurdDimensionsAreRefusedWithoutExhaustingMemory) {
    // GIF header and logical screen of 65535 × 65535, then a 65535 × 65535 image block.
    const std::vector<std::uint8_t> gif{'G',  'I',  'F',  '8',  '9',  'a',  0xFF, 0xFF, 0xFF, 0xFF,
                                        0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    const std::string giant = folder.Write("giant.gif", gif);
    const std::string wide = folder.Write("wide.bmp", testing_files::Bitmap24(2, 2, 30000, 30000));
    EXPECT_NE(ErrorOf(giant).find("giant.gif"), std::string::npos);
    EXPECT_NE(ErrorOf(giant).find("out of range"), std::string::npos) << ErrorOf(giant);
    EXPECT_NE(ErrorOf(wide).find("wide.bmp"), std::string::npos);
}

// The rest of what the program gets from Qt: the test program as the program, and a pass of the events posted.
TEST(QtPlatformTest, NamesTheRunningProgramAndLetsPostedEventsThrough) {
    Application();
    toolkit::qt::QtPlatform qt;
    const toolkit::Platform::Installation installed(qt);
    EXPECT_EQ(toolkit::App::EXEName(), "toolkit_qt_test");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(toolkit::App::Path()) / toolkit::App::EXEName()));
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    toolkit::DoEvents();
    EXPECT_TRUE(ran);
}

}  // namespace
