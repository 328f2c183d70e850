#include "platform/frame_wnd.h"
#include "platform/qt/qt_painted_window.h"
#include "platform/system_services.h"
#include "platform/view.h"
#include "platform/virtual_keys.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool IsDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// Records the key messages it receives, with the modifiers GetKeyState reports meanwhile.
class KeyRecordingView : public CView {
public:
    std::vector<std::string> keys;

protected:
    void OnDraw(CDC*) override {}
    void OnKeyDown(UINT key, UINT, UINT) override { keys.push_back("down " + Modifiers() + std::to_string(key)); }
    void OnSysKeyDown(UINT key, UINT, UINT) override { keys.push_back("sysdown " + Modifiers() + std::to_string(key)); }
    void OnChar(UINT character, UINT, UINT) override { keys.push_back("char " + std::to_string(character)); }
    void OnSysChar(UINT character, UINT, UINT) override { keys.push_back("syschar " + std::to_string(character)); }

private:
    static std::string Modifiers()
    {
        std::string held;
        if (IsDown(VK_CONTROL))
            held += "ctrl+";
        if (IsDown(VK_SHIFT))
            held += "shift+";
        if (IsDown(VK_MENU))
            held += "alt+";
        return held;
    }
};

class QtKeyboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        CCreateContext context{RuntimeClassOf<KeyRecordingView, CView>(), nullptr};
        ASSERT_TRUE(frame.LoadFrame(1, &context));
        frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
        view = dynamic_cast<KeyRecordingView*>(frame.GetActiveView());
        ASSERT_NE(view, nullptr);
        view->SetFocus();
        ProcessEventsFor(50);
    }

    QWidget& Area()
    {
        return *static_cast<QAbstractScrollArea*>(dynamic_cast<platform::qt::QtPaintedWindow*>(view->Peer())->Widget());
    }
    void Send(QEvent& event) { QApplication::sendEvent(&Area(), &event); }
    void Press(int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        Send(press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        Send(release);
    }

    CFrameWnd frame;
    KeyRecordingView* view = nullptr;
};

TEST_F(QtKeyboardTest, KeysReachTheWindowAsKeyDownAndUnicodeCharacterMessages)
{
    Press(Qt::Key_A, Qt::NoModifier, "a");
    Press(Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("\xC3\xA9"));
    Press(Qt::Key_Z, Qt::ControlModifier, QString(QChar(26)));
    Press(Qt::Key_3, Qt::AltModifier, "3");
    Press(Qt::Key_5, Qt::ControlModifier, "5");
    EXPECT_EQ(view->keys, (std::vector<std::string>{"down 65", "char 97", "down 0", "char 233", "down ctrl+90", "char 26",
                                                    "sysdown alt+51", "syschar 51", "down ctrl+53", "char 53"}));
}

TEST_F(QtKeyboardTest, TabAndShiftTabStayWithTheWindowInsteadOfMovingTheFocus)
{
    Press(Qt::Key_Tab, Qt::NoModifier, "\t");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->keys, (std::vector<std::string>{"down 9", "char 9", "down shift+9"}));
    EXPECT_TRUE(Area().hasFocus());
}

TEST_F(QtKeyboardTest, ADeadKeyTypesNothingAndTheInputMethodCommitsTheComposedCharacter)
{
    EXPECT_TRUE(Area().testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(Area().inputMethodQuery(Qt::ImEnabled).toBool());
    Press(Qt::Key_Dead_Acute, Qt::NoModifier);
    QInputMethodEvent composing(QString::fromUtf8("\xC2\xB4"), {});
    Send(composing);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"));
    Send(commit);
    EXPECT_EQ(view->keys, (std::vector<std::string>{"down 0", "char 233", "char 20013", "char 128512"}))
        << "the dead key and the preedit text type nothing; a character outside the BMP is one message";
}

}  // namespace
