#include "docsystem/postprocess_table.h"

#include "utils/string_utils.h"

#include <fstream>
#include <mutex>

namespace {

// postprocess.txt is cut at every separator as it stands: the HTML texts keep their double quotes.
std::vector<std::string> SplitTrimmed(std::string_view text, char separator)
{
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        fields.push_back(utils::Trim(std::string(text.substr(start, end - start))));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

std::mutex sharedTableMutex;
std::shared_ptr<const PostProcessTable> sharedTable = std::make_shared<const PostProcessTable>();
std::int32_t nextSharedRuleId = 1;

}  // namespace

bool PostProcessTable::Load(const std::string& path, std::int32_t& nextId)
{
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return false;
    while (file) {
        std::vector<std::string> fields = SplitTrimmed(utils::ReadLine(file), '|');
        if (fields.size() != 2 && fields.size() != 3)
            continue;
        PostProcessRule rule;
        rule.names = SplitTrimmed(fields[0], ',');
        rule.before = std::move(fields[1]);
        rule.hasArgument = fields.size() == 3;
        if (rule.hasArgument)
            rule.after = std::move(fields[2]);
        rule.id = nextId++;
        Add(std::move(rule));
    }
    return true;
}

// A names list that is already present keeps its first rule; the later id then stands for it too.
void PostProcessTable::Add(PostProcessRule rule)
{
    const std::int32_t id = rule.id;
    auto names = rule.names;
    const auto [entry, inserted] = rules_.try_emplace(std::move(names), std::move(rule));
    rulesById_[id] = &entry->second;
}

const PostProcessRule* PostProcessTable::FindById(std::int32_t id) const
{
    const auto found = rulesById_.find(id);
    return found == rulesById_.end() ? nullptr : found->second;
}

const PostProcessRule* PostProcessTable::FindByFirstName(const std::string& name) const
{
    // Names lists that begin with name follow each other in the map, from the list {name} on.
    const auto found = rules_.lower_bound(std::vector<std::string>{name});
    if (found == rules_.end() || found->first.empty() || found->first.front() != name)
        return nullptr;
    return &found->second;
}

bool LoadPostProcessTable(const std::string& path)
{
    const std::lock_guard lock(sharedTableMutex);
    if (!sharedTable->IsEmpty())
        return true;
    auto table = std::make_shared<PostProcessTable>();
    if (!table->Load(path, nextSharedRuleId))
        return false;
    sharedTable = std::move(table);
    return true;
}

std::shared_ptr<const PostProcessTable> SharedPostProcessTable()
{
    const std::lock_guard lock(sharedTableMutex);
    return sharedTable;
}
