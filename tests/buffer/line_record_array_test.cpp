#include "buffer/line_record_array.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Records are told apart by their length field alone.
LineRecord Tagged(std::int32_t tag)
{
    LineRecord record;
    record.length = tag;
    return record;
}

std::vector<LineRecord> TaggedRun(std::int32_t firstTag, std::size_t count)
{
    std::vector<LineRecord> records;
    for (std::size_t offset = 0; offset < count; ++offset) {
        records.push_back(Tagged(firstTag + static_cast<std::int32_t>(offset)));
    }
    return records;
}

std::vector<std::int32_t> TagsByIndex(const LineRecordArray& array)
{
    std::vector<std::int32_t> tags;
    for (std::size_t index = 0; index < array.Size(); ++index) {
        tags.push_back(array[index].length);
    }
    return tags;
}

std::vector<std::int32_t> TagsByIteration(LineRecordArray& array)
{
    std::vector<std::int32_t> tags;
    for (LineRecord& record : array) {
        tags.push_back(record.length);
    }
    return tags;
}

struct ArrayEdit {
    enum class Kind { Insert, Erase, Reserve };
    Kind kind;
    std::size_t position;  // index for Insert/Erase, capacity for Reserve
    std::size_t count;
};

struct EditScript {
    const char* name;
    std::size_t initialRecords;
    std::vector<ArrayEdit> edits;
};

void Apply(const ArrayEdit& edit, LineRecordArray& array, std::vector<std::int32_t>& model, std::int32_t& nextTag)
{
    switch (edit.kind) {
    case ArrayEdit::Kind::Insert: {
        const std::vector<LineRecord> records = TaggedRun(nextTag, edit.count);
        array.Insert(edit.position, records);
        for (std::size_t offset = 0; offset < edit.count; ++offset) {
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(edit.position + offset), nextTag++);
        }
        break;
    }
    case ArrayEdit::Kind::Erase:
        array.Erase(edit.position, edit.count);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(edit.position),
                    model.begin() + static_cast<std::ptrdiff_t>(edit.position + edit.count));
        break;
    case ArrayEdit::Kind::Reserve:
        array.Reserve(edit.position);
        break;
    }
}

void Fill(LineRecordArray& array, std::vector<std::int32_t>& model, std::size_t count, std::int32_t& nextTag)
{
    array.Reserve(count);
    for (std::size_t record = 0; record < count; ++record) {
        array.PushBack(Tagged(nextTag));
        model.push_back(nextTag++);
    }
}

TEST(LineRecordArrayTest, ScriptedEditsMatchAPlainModel)
{
    using Kind = ArrayEdit::Kind;
    // 170 records fill one page: the larger scripts make the array grow and shrink with the gap
    // in the middle.
    const std::vector<EditScript> scripts = {
        {"insert at the front then the back", 10, {{Kind::Insert, 0, 3}, {Kind::Insert, 13, 2}}},
        {"erase at both ends", 10, {{Kind::Erase, 0, 2}, {Kind::Erase, 6, 2}, {Kind::Erase, 0, 6}}},
        {"gap moved back and forth", 50, {{Kind::Insert, 40, 1}, {Kind::Insert, 5, 1}, {Kind::Erase, 30, 4},
                                          {Kind::Insert, 47, 2}, {Kind::Erase, 0, 1}}},
        {"erase a range across the gap", 30, {{Kind::Insert, 10, 5}, {Kind::Erase, 8, 12}}},
        {"erase everything then insert", 20, {{Kind::Erase, 7, 1}, {Kind::Erase, 0, 19}, {Kind::Insert, 0, 4}}},
        {"grow with the gap in the middle", 160, {{Kind::Insert, 80, 1}, {Kind::Insert, 40, 200}, {Kind::Insert, 300, 3}}},
        {"shrink with the gap in the middle", 400, {{Kind::Erase, 100, 300}, {Kind::Reserve, 0, 0}, {Kind::Insert, 50, 2}}},
        {"reserve more with the gap at the front", 100, {{Kind::Insert, 0, 1}, {Kind::Reserve, 1000, 0}, {Kind::Insert, 101, 1}}},
    };
    for (const EditScript& script : scripts) {
        SCOPED_TRACE(script.name);
        LineRecordArray array;
        std::vector<std::int32_t> model;
        std::int32_t nextTag = 0;
        Fill(array, model, script.initialRecords, nextTag);
        for (const ArrayEdit& edit : script.edits) {
            Apply(edit, array, model, nextTag);
            ASSERT_EQ(TagsByIndex(array), model);
            ASSERT_EQ(TagsByIteration(array), model);
            ASSERT_GE(array.Capacity(), array.Size());
        }
    }
}

TEST(LineRecordArrayTest, RandomEditsMatchAPlainModel)
{
    std::mt19937 generator(2611);
    LineRecordArray array;
    std::vector<std::int32_t> model;
    std::int32_t nextTag = 0;
    Fill(array, model, 300, nextTag);
    for (int step = 0; step < 3000; ++step) {
        const std::size_t size = model.size();
        const unsigned choice = generator() % 20;
        ArrayEdit edit{ArrayEdit::Kind::Insert, 0, 0};
        if (choice == 0) {
            // Now and then grow or trim the capacity, as loading and the table's growth steps do.
            edit = {ArrayEdit::Kind::Reserve, generator() % 2 == 0 ? size : size + generator() % 700, 0};
        } else if (choice < 10 || size == 0) {
            const std::size_t count = generator() % 4 == 0 ? 1 + generator() % 60 : 1;
            edit = {ArrayEdit::Kind::Insert, generator() % (size + 1), count};
        } else {
            const std::size_t first = generator() % size;
            const std::size_t count = generator() % 4 == 0 ? 1 + generator() % (size - first) : 1;
            edit = {ArrayEdit::Kind::Erase, first, count};
        }
        Apply(edit, array, model, nextTag);
        ASSERT_EQ(TagsByIndex(array), model) << "step " << step;
        ASSERT_GE(array.Capacity(), array.Size()) << "step " << step;
    }
    EXPECT_EQ(TagsByIndex(array), model);
    EXPECT_EQ(TagsByIteration(array), model);
}

TEST(LineRecordArrayTest, ReleaseEmptiesAndTheArrayCanBeFilledAgain)
{
    LineRecordArray array;
    std::vector<std::int32_t> model;
    std::int32_t nextTag = 0;
    Fill(array, model, 50, nextTag);
    array.Erase(10, 5);
    array.Release();
    EXPECT_EQ(array.Size(), 0u);
    EXPECT_EQ(array.Capacity(), 0u);
    model.clear();
    Fill(array, model, 20, nextTag);
    EXPECT_EQ(TagsByIndex(array), model);
}

}  // namespace
