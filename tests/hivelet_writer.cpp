// Helper of test_hivelet: saves the same two settings many times through the settings
// library, so that several copies running at once write one key concurrently.
// Usage: hivelet_writer <mainKey> <subKey> <letter> <count>
// Each round saves "Short" as 30 times the letter and "Long" as 65536 times the letter.

#include "hivelet.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 5 || std::string(argv[3]).size() != 1)
        return 2;
    void* control = hivelet_create("Hivelet");
    if (!control)
        return 3;
    const std::string shortText(30, argv[3][0]);
    const std::string longText(65536, argv[3][0]);
    const int count = std::atoi(argv[4]);
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        failures += !hivelet_save(control, argv[1], argv[2], "Short", shortText.c_str());
        failures += !hivelet_save(control, argv[1], argv[2], "Long", longText.c_str());
    }
    hivelet_destroy(control);
    if (failures)
        std::fprintf(stderr, "%d saves failed\n", failures);
    return failures ? 1 : 0;
}
