#include "platform/command_ids.h"
#include "platform/dialog.h"
#include "platform/resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using platform::DialogItemKind;

constexpr UINT SettingsTemplate = 7131;

class SettingsDialog : public CDialog {
public:
    SettingsDialog() : CDialog(SettingsTemplate) { MapNotification(1001, EN_CHANGE, [this] { ++changes; }); }
    std::string address = "localhost:3000";
    std::string viewer;
    int option = 0;
    int choice = 1;
    int changes = 0;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Text(exchange, 1000, address);
        DDX_Text(exchange, 1001, viewer);
        DDX_Check(exchange, 1002, option);
        DDX_Radio(exchange, 1003, choice);
    }
};

template <class Widget>
Widget* Find(const QString& text)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* found = qobject_cast<Widget*>(widget);
        if (found != nullptr && found->isVisible() && (text.isEmpty() || found->property("text").toString() == text))
            return found;
    }
    return nullptr;
}

TEST(QtDialog, ControlsAreBuiltFromTheTemplateAndTheirValuesExchanged)
{
    platform::resources::AddDialog(SettingsTemplate,
                                   {"Settings",
                                    200,
                                    80,
                                    {{1000, DialogItemKind::Edit, "", 5, 5, 100, 12, 0},
                                     {1001, DialogItemKind::Edit, "", 5, 20, 100, 12, 0},
                                     {1002, DialogItemKind::CheckBox, "Option", 5, 35, 60, 10, 0},
                                     {1003, DialogItemKind::RadioButton, "First", 5, 50, 60, 10, WS_GROUP},
                                     {1004, DialogItemKind::RadioButton, "Second", 70, 50, 60, 10, 0},
                                     {IDOK, DialogItemKind::DefaultPushButton, "OK", 140, 5, 50, 14, 0},
                                     {IDCANCEL, DialogItemKind::PushButton, "Cancel", 140, 22, 50, 14, 0}}});
    SettingsDialog dialog;
    std::string seenAddress;
    bool secondChecked = false;
    QTimer::singleShot(0, [&] {
        auto* dialogWidget = Find<QDialog>({});
        ASSERT_NE(dialogWidget, nullptr);
        EXPECT_EQ(dialogWidget->windowTitle(), "Settings");
        const QList<QLineEdit*> edits = dialogWidget->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        seenAddress = edits[0]->text().toStdString();
        secondChecked = Find<QRadioButton>("Second")->isChecked();
        edits[1]->setText("okular");
        Find<QCheckBox>("Option")->click();
        Find<QRadioButton>("First")->click();
        Find<QPushButton>("OK")->click();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(seenAddress, "localhost:3000");
    EXPECT_TRUE(secondChecked);
    EXPECT_EQ(dialog.viewer, "okular");
    EXPECT_GE(dialog.changes, 1);
    EXPECT_EQ(dialog.option, 1);
    EXPECT_EQ(dialog.choice, 0);

    // Escape (the dialog's reject) is Cancel, and Cancel keeps the members.
    QTimer::singleShot(0, [&] {
        Find<QLineEdit>({})->setText("changed");
        Find<QDialog>({})->reject();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.address, "localhost:3000");
}

}  // namespace
