// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scripted desktop for tests: held keys, the tick, dialogs and choosers answer from fields
// the test sets; everything the program asks for is recorded.
#include "support/ModeName.h"
#include "ui/Platform.h"

#include <deque>
#include <set>

namespace vork::test {

class FakePlatform : public Platform {
  public:
    uint32_t tick = 0;
    std::set<HeldKey> held;
    int invalidations = 0;
    std::vector<Command> posted;
    std::string title;
    std::vector<std::pair<std::string, std::string>> messages; // (caption, text)
    bool destroyed = false;

    // Choosers answer from these queues; an empty queue means the user cancelled.
    std::deque<std::string> openAnswers, saveAnswers;
    // The filter each save chooser that asks reports as chosen (an empty queue: the first).
    std::deque<int> saveFilterAnswers;
    std::vector<FileChooser> choosersShown;

    // New-document dialog: an optional preset double-click, then OK with a size or Cancel.
    struct NewDocScript {
        std::optional<std::pair<int, int>> presetDoubleClick;
        bool ok = false;
        int width = 0, height = 0;
    };
    std::deque<NewDocScript> newDocScripts;
    std::vector<std::pair<int, int>> newDocOpenedWith;
    int aboutBoxes = 0, keyReferences = 0;
    bool inputEnabledSeenInDialog = true; // set by tests that check inputEnabled around dialogs
    std::function<void()> onDialog;       // runs while any dialog is "open"

    // Size, canvas and merge dialogs answer from these queues; an empty queue is Cancel.
    std::deque<PictureSizeAnswer> pictureSizeAnswers;
    std::deque<CanvasSizeAnswer> canvasSizeAnswers;
    std::deque<MergeAnswer> mergeAnswers;
    struct SizeDialogOpened {
        Mode mode;
        int width, height;
    };
    std::vector<SizeDialogOpened> pictureSizeOpened, canvasSizeOpened;
    std::vector<int> mergeOpenedWith; // the frame count each merge dialog showed

    // The export scale dialog answers from its queue; an empty queue is OK with the values it
    // was opened with, so that an export runs as it did before the dialog was there.
    std::deque<ExportScaleAnswer> exportScaleAnswers;
    struct ExportScaleOpened {
        int width, height, scale;
        std::optional<int> padding;
    };
    std::vector<ExportScaleOpened> exportScaleOpened;

    // Progress windows: the label of each, every step reported, and the step at which the
    // scripted user presses Cancel (0: never).
    std::vector<std::string> progressLabels;
    std::vector<std::pair<int, int>> progressSteps;
    int cancelProgressAtStep = 0;

    // The restore question: each question asked, answered from the queue (empty: No).
    std::vector<RestoreQuestion> restoreQuestions;
    std::deque<bool> restoreAnswers;

    uint32_t tickCount() override { return tick; }
    bool isHeld(HeldKey key) override { return held.count(key) != 0; }
    void invalidate() override { ++invalidations; }
    void postCommand(Command id) override { posted.push_back(id); }
    void setTitle(const std::string& t) override { title = t; }
    void messageBox(const std::string& caption, const std::string& text) override {
        messages.emplace_back(caption, text);
    }
    void destroyWindow() override { destroyed = true; }

    std::optional<std::string> openFile(const FileChooser& c, std::string& remembered) override {
        return answer(c, remembered, openAnswers);
    }
    std::optional<std::string> saveFile(const FileChooser& c, std::string& remembered) override {
        if (c.chosenFilter) {
            *c.chosenFilter = saveFilterAnswers.empty() ? 0 : saveFilterAnswers.front();
            if (!saveFilterAnswers.empty())
                saveFilterAnswers.pop_front();
        }
        return answer(c, remembered, saveAnswers);
    }

    NewDocumentAnswer newDocumentDialog(Mode, int width, int height,
                                        const std::function<void(int, int)>& onPreset) override {
        newDocOpenedWith.emplace_back(width, height);
        if (onDialog)
            onDialog();
        NewDocumentAnswer a;
        if (newDocScripts.empty())
            return a;
        NewDocScript s = newDocScripts.front();
        newDocScripts.pop_front();
        if (s.presetDoubleClick)
            onPreset(s.presetDoubleClick->first, s.presetDoubleClick->second);
        if (s.ok && validDocumentSize(s.width, s.height)) {
            a.accepted = true;
            a.width = s.width;
            a.height = s.height;
        }
        return a;
    }
    void aboutBox() override {
        ++aboutBoxes;
        if (onDialog)
            onDialog();
    }
    void keyReference() override {
        ++keyReferences;
        if (onDialog)
            onDialog();
    }

    PictureSizeAnswer pictureSizeDialog(Mode mode, int width, int height) override {
        pictureSizeOpened.push_back({mode, width, height});
        return scripted(pictureSizeAnswers);
    }
    CanvasSizeAnswer canvasSizeDialog(Mode mode, int width, int height) override {
        canvasSizeOpened.push_back({mode, width, height});
        return scripted(canvasSizeAnswers);
    }
    MergeAnswer mergeDialog(int frameCount) override {
        mergeOpenedWith.push_back(frameCount);
        return scripted(mergeAnswers);
    }

    ExportScaleAnswer exportScaleDialog(int width, int height, int scale,
                                        std::optional<int> padding) override {
        exportScaleOpened.push_back({width, height, scale, padding});
        if (exportScaleAnswers.empty())
            exportScaleAnswers.push_back({true, scale, padding.value_or(0)});
        return scripted(exportScaleAnswers);
    }

    class ScriptedProgress : public ProgressWindow {
      public:
        explicit ScriptedProgress(FakePlatform& p) : p(p) {}
        bool step(int done, int total) override {
            p.progressSteps.emplace_back(done, total);
            return p.cancelProgressAtStep == 0 || done < p.cancelProgressAtStep;
        }

      private:
        FakePlatform& p;
    };
    std::unique_ptr<ProgressWindow> beginProgress(const std::string& label) override {
        progressLabels.push_back(label);
        return std::make_unique<ScriptedProgress>(*this);
    }

    bool restoreDialog(const RestoreQuestion& question) override {
        restoreQuestions.push_back(question);
        return scripted(restoreAnswers);
    }

  private:
    template <class Answer> Answer scripted(std::deque<Answer>& q) {
        if (onDialog)
            onDialog();
        if (q.empty())
            return Answer{};
        Answer a = q.front();
        q.pop_front();
        return a;
    }
    std::optional<std::string> answer(const FileChooser& c, std::string& remembered,
                                      std::deque<std::string>& q) {
        choosersShown.push_back(c);
        if (onDialog)
            onDialog();
        if (q.empty())
            return std::nullopt;
        std::string a = q.front();
        q.pop_front();
        remembered = a;
        return a;
    }
};

} // namespace vork::test
