// A row's packed cells checked against a plain vector of strings: texts of every length class (empty,
// one length byte, two, three, with NULs inside) written in random order into random cells, so a
// length that outgrows or shrinks its bytes must not shift or damage the cells after it.
#include "platform/ui/PackedTexts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

void expectSame(const ui::PackedTexts& packed, const std::vector<std::string>& model) {
    ASSERT_EQ(packed.size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(packed.at(i), model[i]) << "cell " << i;
}

std::string textOfLength(std::size_t length, char fill) {
    std::string text(length, fill);
    if (length > 2) text[length / 2] = '\0';
    return text;
}

TEST(PackedTexts, RandomWritesKeepEveryCellIntact) {
    const std::size_t lengths[] = {0, 1, 15, 127, 128, 300, 16383, 16384, 70000};
    std::mt19937 random(20261205);
    ui::PackedTexts packed;
    std::vector<std::string> model;
    for (int round = 0; round < 400; ++round) {
        const std::string text = textOfLength(lengths[random() % std::size(lengths)], static_cast<char>('a' + round % 26));
        switch (random() % 4) {
        case 0:  // grow
            packed.extendTo(model.size() + random() % 3);
            model.resize(packed.size());
            break;
        case 1:  // the first cells at once
            if (model.size() < 2) model.resize(2);
            packed.setFirst({text, "x"});
            model[0] = text;
            model[1] = "x";
            break;
        default:
            if (model.empty()) continue;
            const std::size_t i = random() % model.size();
            packed.set(i, text);
            model[i] = text;
        }
        expectSame(packed, model);
    }
    packed.extendTo(2);  // never shrinks
    expectSame(packed, model);
    packed.clear();
    EXPECT_EQ(packed.size(), 0u);
    packed.setFirst({"a", "", "c"});
    expectSame(packed, {"a", "", "c"});
}

} // namespace
