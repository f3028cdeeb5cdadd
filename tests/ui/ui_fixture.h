// A fresh widget world for every test: a scripted person, no loaded forms, time zero, an empty
// clipboard. Tests that meet a person check that the script went as planned.
#pragma once

#include "platform/ui/Clipboard.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        user = std::make_shared<ui::ScriptedUser>();
        ui::User::install(user);
        ui::EventLoop::reset();
        ui::Clipboard::Clear();
    }
    void TearDown() override {
        ui::Forms::unloadAll();
        ui::User::install(nullptr);
    }
    void expectScriptDone() const {
        EXPECT_TRUE(user->problems().empty()) << ::testing::PrintToString(user->problems());
    }

    std::shared_ptr<ui::ScriptedUser> user;
};

// Runs fn and returns the number of the VBError it raised (0: none).
template <class F>
int32_t errorNumberOf(F&& fn) {
    try {
        fn();
    } catch (const vb::VBError& e) {
        return e.number();
    }
    return 0;
}
