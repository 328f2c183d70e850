#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One line of postprocess.txt: the LaTeX commands it defines and the HTML that replaces their markers.
struct PostProcessRule {
    std::vector<std::string> names;
    std::string before;
    std::string after;  // empty for rules without argument
    bool hasArgument = false;
    std::int32_t id = 0;
};

// The post-processing rules by names list, with an index by id. A later rule with a names list
// already present is dropped.
class PostProcessTable {
public:
    using RuleMap = std::map<std::vector<std::string>, PostProcessRule>;

    PostProcessTable() = default;
    // The index points into the rules, which a move keeps in place but a copy would not.
    PostProcessTable(const PostProcessTable&) = delete;
    PostProcessTable& operator=(const PostProcessTable&) = delete;
    PostProcessTable(PostProcessTable&&) = default;
    PostProcessTable& operator=(PostProcessTable&&) = default;

    // Adds the rules of the file, numbering each rule created from nextId on (advancing it).
    // False when the file cannot be opened.
    bool Load(const std::string& path, std::int32_t& nextId);

    bool IsEmpty() const { return rules_.empty(); }
    const RuleMap& Rules() const { return rules_; }
    const PostProcessRule* FindById(std::int32_t id) const;
    // The first rule in map order whose first name is name.
    const PostProcessRule* FindByFirstName(const std::string& name) const;

private:
    void Add(PostProcessRule rule);

    RuleMap rules_;
    std::map<std::int32_t, const PostProcessRule*> rulesById_;
};

// Fills the process-wide table from the file when it is still empty, numbering rules with the
// process-wide counter. False when the file cannot be opened (the table then stays empty).
bool LoadPostProcessTable(const std::string& path);

// The process-wide table as loaded so far (never null). Thread-safe.
std::shared_ptr<const PostProcessTable> SharedPostProcessTable();
