// One application object for the whole test program, as in the real program; its error
// box is replaced by a recorder so that no modal box ever blocks a test.
#include <gtest/gtest.h>

#include "win/ui/application.h"
#include "win_fixture.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    ui::Application application;
    application.SetErrorSink([](std::u16string_view title, std::u16string_view text) {
        wintest::ErrorLog().push_back({std::u16string(title), std::u16string(text)});
    });
    return RUN_ALL_TESTS();
}
