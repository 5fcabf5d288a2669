#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform cannot raise a window and says so every time one is shown.
void withoutRaiseNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()")) || !previousHandler)
        return;
    previousHandler(type, context, message);
}

// One QApplication for the whole test program, on the offscreen platform unless told otherwise.
class QtApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        previousHandler = qInstallMessageHandler(withoutRaiseNotes);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override
    {
        m_app.reset();
        qInstallMessageHandler(previousHandler);
    }

private:
    int m_argc = 1;
    char m_name[8] = "test_qt";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

} // namespace

::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);
