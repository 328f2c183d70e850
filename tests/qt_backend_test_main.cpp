#include "platform/qt/qt_backend.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The backend (and its QApplication) exists while tests run, not while they are only listed.
class QtBackendEnvironment : public testing::Environment {
public:
    QtBackendEnvironment(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}
    void SetUp() override { m_backend = std::make_unique<platform::qt::QtBackend>(m_argc, m_argv); }
    void TearDown() override { m_backend.reset(); }

private:
    int& m_argc;
    char** m_argv;
    std::unique_ptr<platform::qt::QtBackend> m_backend;
};

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new QtBackendEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
