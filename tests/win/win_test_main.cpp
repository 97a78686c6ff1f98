// One application object for the whole test program, as in the real program; its error
// box is replaced by a recorder so that no modal box ever blocks a test.
#include <gtest/gtest.h>

#include "win/ui/application.h"
#include "win_fixture.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    ui::Application application;
    wintest::RecordErrors();
    return RUN_ALL_TESTS();
}
