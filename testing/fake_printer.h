// A TPrinter that records what the commands ask of it, keeps every finished
// page as a recording, and raises EPrinter at a chosen call.
#pragma once

#include <QPrinter>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "errors/errors.h"
#include "app/printer.h"
#include "recording_canvas.h"
#include "worksheet/problems.h"

struct TFakePrinter : TPrinter {
    struct TJob {
        std::string Title;
        TRecordingCanvas Page;
        int32_t ShowAnswersAtEnd = -1;
        std::vector<TRecordingCanvas> NextPages;  // after the first
    };

    std::vector<std::string> Calls;
    // Raise EPrinter(FailMessage) at the n-th call (1-based) of an operation.
    std::map<std::string, int> FailAt;
    std::string FailMessage = "選択したプリンタは有効ではありません";
    // When set, what the failure says it means besides (EPrinter's
    // consequence, as the print service's refusals have one).
    std::string FailConsequence;
    // Runs while a job is handed over, the job still open: what the teacher
    // does meanwhile.
    std::function<void()> WhileHandingOver;
    // The n-th job's drawing raises at its first text (0: never).
    int FailDrawingOfJob = 0;
    int32_t Width = 2400, Height = 3400;
    std::vector<TJob> Printed;
    int Aborted = 0;
    // Prints into a file: one job takes every sheet of a command.
    bool ToFile = false;

    void SetPortrait() override { Call("SetPortrait"); }
    int32_t PageHeight() override { return Call("PageHeight"), Height; }
    int32_t PageWidth() override { return Call("PageWidth"), Width; }
    void SetTitle(const std::string& title) override
    {
        Call("SetTitle");
        title_ = title;
    }
    void BeginDoc() override
    {
        Call("BeginDoc");
        if (open_) throw EPrinter("現在印刷中です");
        ++begun_;
        page_ = std::make_unique<TDrawingCanvas>(begun_ == FailDrawingOfJob);
        open_ = true;
    }
    void NewPage() override
    {
        Call("NewPage");
        pages_.push_back(*page_);
        page_ = std::make_unique<TDrawingCanvas>(false);
    }
    TCanvas& Canvas() override { return *page_; }
    void EndDoc() override
    {
        if (WhileHandingOver) {
            const std::function<void()> meanwhile = std::move(WhileHandingOver);
            meanwhile();
        }
        pages_.push_back(*page_);
        page_.reset();
        open_ = false;
        Call("EndDoc");
        Printed.push_back({title_, pages_.front(), ShowAnswers, {pages_.begin() + 1, pages_.end()}});
        pages_.clear();
    }
    void Abort() override
    {
        Calls.push_back("Abort");
        ++Aborted;
        open_ = false;
        page_.reset();
        pages_.clear();
    }
    bool Printing() const override { return open_; }
    bool OutputIsFile() const override { return ToFile; }
    std::string Destination() const override { return ToFile ? "/tmp/sheet.pdf" : "FakePrinter"; }
    void Setup(QWidget*) override { Call("Setup"); }
    QPrinter& Device() override
    {
        Call("Device");
        if (!device_) {
            device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            device_->setOutputFormat(QPrinter::PdfFormat);
        }
        return *device_;
    }

private:
    // A recording canvas whose first text raises, for a failing drawing.
    struct TDrawingCanvas : TRecordingCanvas {
        explicit TDrawingCanvas(bool fails) : fails_(fails) {}
        void TextOut(int32_t x, int32_t y, const std::string& text) override
        {
            if (fails_) throw EPrinter("描画に失敗しました");
            TRecordingCanvas::TextOut(x, y, text);
        }
        bool fails_;
    };

    void Call(const std::string& name)
    {
        Calls.push_back(name);
        if (++count_[name] == FailAt[name])
            throw FailConsequence.empty() ? EPrinter(FailMessage) : EPrinter(FailMessage, FailConsequence);
    }

    std::map<std::string, int> count_;
    std::string title_;
    bool open_ = false;
    int begun_ = 0;
    std::unique_ptr<TDrawingCanvas> page_;
    std::vector<TRecordingCanvas> pages_;
    std::unique_ptr<QPrinter> device_;
};
