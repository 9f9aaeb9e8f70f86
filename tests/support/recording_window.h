// A platform::Window for core tests: controls are a map of texts and values,
// message boxes are recorded and answered Yes or OK.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/window.h"

class RecordingWindow : public platform::Window {
public:
    std::map<std::string, std::string> texts;
    std::map<std::string, int> values;
    std::vector<std::string> messages;       // every message box text, in order
    std::vector<platform::Form> opened;            // modal windows shown
    bool closed = false;
    int busy_depth = 0;
    std::function<void(const std::string&)> on_message;  // runs before the answer
    std::function<void(const char*)> on_change;           // scroll bar change event

    // The last range and steps set on a scroll bar.
    struct Range {
        int min = 0, max = 0, small_step = 0, large_step = 0;
    };
    std::map<std::string, Range> ranges;

    void SetText(const char* c, const std::string& t) override { texts[c] = t; }
    std::string Text(const char* c) override { return texts[c]; }
    int Value(const char* c) override { return values[c]; }
    void SetValue(const char* c, int v) override {
        bool changed = values[c] != v;
        values[c] = v;
        if (changed && on_change) on_change(c);
    }
    void SetRange(const char* c, int min, int max, int small_step, int large_step) override {
        ranges[c] = {min, max, small_step, large_step};
    }
    platform::Answer Message(const std::string& text, platform::Buttons buttons) override {
        messages.push_back(text);
        if (on_message) on_message(text);
        return buttons == platform::Buttons::kOk ? platform::Answer::kOk : platform::Answer::kYes;
    }
    void ShowModal(platform::Form f) override { opened.push_back(f); }
    void Close() override { closed = true; }
    void SetBusy(bool b) override { busy_depth += b ? 1 : -1; }
    void KeepPainted() override {}
};
