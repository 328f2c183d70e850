#pragma once

#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "platform/qt/qt_frame_window.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace app::testing {

// A test of the editor in its real Qt window: starts it, reads its menus and status bar, and closes
// the window after the test so that the next one starts from nothing.
class QtEditorWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
        ProcessEventsFor(20);
    }

    // Opens the editor on a command line and lets its window settle.
    void StartEditor(const std::string& commandLine)
    {
        application = std::make_unique<CEditorApp>(commandLine);
        ASSERT_TRUE(application->InitInstance());
        ProcessEventsFor(200);
    }

    QMainWindow& MainWindow()
    {
        return *static_cast<platform::qt::QtFrameWindow*>(application->MainFrame()->FramePeer())->MainWindow();
    }

    // The texts of the status bar's panes, in order.
    std::vector<std::string> PaneTexts()
    {
        std::vector<std::string> texts;
        for (const QLabel* label : MainWindow().statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            texts.push_back(label->text().toStdString());
        return texts;
    }

    // The entry of a top-level menu whose text starts with `entryStart`, once the menu has been
    // prepared for showing (which updates its entries' states).
    QAction* MenuAction(const QString& menuTitle, const QString& entryStart)
    {
        for (QAction* top : MainWindow().menuBar()->actions()) {
            if (top->text() != menuTitle || top->menu() == nullptr)
                continue;
            emit top->menu()->aboutToShow();
            for (QAction* entry : top->menu()->actions())
                if (entry->text().startsWith(entryStart))
                    return entry;
        }
        return nullptr;
    }

    std::unique_ptr<CEditorApp> application;
};

}  // namespace app::testing
