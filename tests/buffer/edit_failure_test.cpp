#include "buffer_test_support.h"

#include "buffer/undo_action.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

// Allocations fail on demand: while armed, the allocation numbered `failAt` (counting from 1)
// throws std::bad_alloc. Everything else allocates normally.
namespace {

bool armed = false;
int allocationsSeen = 0;
int failAt = 0;

void* Allocate(std::size_t size)
{
    if (armed && ++allocationsSeen == failAt) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace buffer_test {
namespace {

using Edit = std::function<void(CQuillTextBuffer&)>;

void Insert(CQuillTextBuffer& buffer, TextPosition at, const std::string& text, std::int32_t action = UndoAction::Typing)
{
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    buffer.InsertText(nullptr, at.line, at.character, text, endLine, endChar, action);
}

void Delete(CQuillTextBuffer& buffer, TextPosition start, TextPosition end)
{
    buffer.DeleteText(nullptr, start.line, start.character, end.line, end.character, UndoAction::Delete);
}

// Runs `edit` with allocation number `failure` failing; true when it got that far and failed.
bool FailsAt(CQuillTextBuffer& buffer, const Edit& edit, int failure)
{
    allocationsSeen = 0;
    failAt = failure;
    armed = true;
    bool failed = false;
    try {
        edit(buffer);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    armed = false;
    return failed;
}

const std::vector<std::string> Original = {"first line of the text", std::string(40, 'x'), "", "last"};

struct FailureCase {
    const char* name;
    Edit prepare;  // edits made before, which the failing edit must not disturb
    Edit edit;
};

// Every allocation an edit, an undo or a redo makes may fail. Whenever one does, the text is as
// before or as after the edit, the undo list matches the text (undoing everything gives the
// original lines back, redoing everything the final ones), and no group is left open.
TEST(EditFailure, AFailedAllocationLeavesTextAndUndoListInStep)
{
    const FailureCase cases[] = {
        {"insertion within a line", {}, [](CQuillTextBuffer& b) { Insert(b, {5, 0}, std::string(30, 'a')); }},
        {"insertion of lines", {}, [](CQuillTextBuffer& b) { Insert(b, {10, 1}, "one\r\ntwo\r\nthree" + std::string(50, 'b')); }},
        {"deletion within a line", {}, [](CQuillTextBuffer& b) { Delete(b, {2, 1}, {30, 1}); }},
        {"deletion across lines", {}, [](CQuillTextBuffer& b) { Delete(b, {6, 0}, {2, 3}); }},
        {"undo of a group",
         [](CQuillTextBuffer& b) {
             b.OpenUndoGroup(UndoGroupMerge::NewGroup);
             Insert(b, {0, 2}, "new\r\nlines\r\n" + std::string(60, 'c'));
             Delete(b, {0, 0}, {10, 1});
             b.CloseUndoGroup(nullptr);
         },
         [](CQuillTextBuffer& b) {
             TextPosition caret;
             b.Undo(caret);
         }},
        {"redo of a group",
         [](CQuillTextBuffer& b) {
             b.OpenUndoGroup(UndoGroupMerge::NewGroup);
             Insert(b, {3, 1}, std::string(70, 'd') + "\r\n");
             Delete(b, {0, 1}, {4, 4});
             b.CloseUndoGroup(nullptr);
             TextPosition caret;
             b.Undo(caret);
         },
         [](CQuillTextBuffer& b) {
             TextPosition caret;
             b.Redo(caret);
         }},
    };
    for (const FailureCase& test : cases) {
        SCOPED_TRACE(test.name);
        CQuillTextBuffer reference;
        Fill(reference, Original);
        if (test.prepare)
            test.prepare(reference);
        const std::vector<std::string> before = Lines(reference);
        test.edit(reference);
        const std::vector<std::string> after = Lines(reference);

        int failures = 0;
        for (int failure = 1;; ++failure) {
            CQuillTextBuffer buffer;
            Fill(buffer, Original);
            if (test.prepare)
                test.prepare(buffer);
            if (!FailsAt(buffer, test.edit, failure))
                break;
            ++failures;
            SCOPED_TRACE("allocation " + std::to_string(failure));
            const std::vector<std::string> lines = Lines(buffer);
            ASSERT_TRUE(lines == before || lines == after);

            // A new edit starts a group of its own, so Undo takes it back alone.
            Insert(buffer, {0, 0}, "probe");
            TextPosition caret;
            buffer.Undo(caret);
            EXPECT_EQ(Lines(buffer), lines);
            while (buffer.CanUndo())
                buffer.Undo(caret);
            EXPECT_EQ(Lines(buffer), Original);
        }
        EXPECT_GT(failures, 0) << "the edit allocates, so some failure must have been tried";
    }
}

// A view that throws while it is told about an edit.
class ThrowingView : public RecordingView {
public:
    void OnBufferChanged(BufferView* source, const TextChange* change, std::uint32_t hints, std::int32_t line) override
    {
        RecordingView::OnBufferChanged(source, change, hints, line);
        if (throwNext) {
            throwNext = false;
            throw std::runtime_error("view failed");
        }
    }
    bool throwNext = false;
};

TEST(EditFailure, AViewThrowingDuringTheNotificationLeavesTheEditRecordedAndNoGroupOpen)
{
    CQuillTextBuffer buffer;
    Fill(buffer, Original);
    ThrowingView view;
    buffer.AttachView(&view);
    view.throwNext = true;
    EXPECT_THROW(Insert(buffer, {0, 1}, "abc\r\n"), std::runtime_error);
    Insert(buffer, {0, 0}, "probe");

    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_EQ(Lines(buffer)[0], Original[0]) << "the probe was a step of its own";
    EXPECT_EQ(Lines(buffer)[1], "abc");
    buffer.Undo(caret);
    EXPECT_EQ(Lines(buffer), Original);
    EXPECT_FALSE(buffer.CanUndo());

    view.throwNext = true;
    EXPECT_THROW(buffer.Redo(caret), std::runtime_error);
    EXPECT_EQ(Lines(buffer)[1], "abc") << "the redo took place and is passed";
    EXPECT_TRUE(buffer.CanUndo());
    EXPECT_TRUE(buffer.CanRedo()) << "the probe's step is still ahead";
    buffer.DetachView(&view);
}

TEST(EditFailure, ClosingAGroupThatRecordedNothingDoesNotTellTheViewAboutAnEarlierEdit)
{
    CQuillTextBuffer buffer;
    Fill(buffer, Original);
    RecordingView view;
    buffer.AttachView(&view);
    Insert(buffer, {0, 0}, "\r\n");
    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    buffer.CloseUndoGroup(&view);
    EXPECT_TRUE(view.editNotifications.empty());

    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    Insert(buffer, {0, 0}, "x");
    buffer.CloseUndoGroup(&view);
    ASSERT_EQ(view.editNotifications.size(), 1u);
    EXPECT_EQ(view.editNotifications[0].second, "x");
    buffer.DetachView(&view);
}

}  // namespace
}  // namespace buffer_test
