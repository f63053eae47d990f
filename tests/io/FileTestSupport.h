// Score file tests: a fresh thread state per test, a scratch folder, the file events logged, and
// helpers to read, write and patch files byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "engine/ScoreTestSupport.h"

namespace corvendi::test {

// Also logs the events of loading and saving.
struct FileEventLog : EventLog {
    void BeforeOpenSave(int32_t size) override {
        log.push_back("BeforeOpenSave " + std::to_string(size));
    }
    void ProgressReport(int32_t position) override {
        log.push_back("ProgressReport " + std::to_string(position));
        progress.push_back(position);
    }
    void AfterOpenSave() override { log.push_back("AfterOpenSave"); }
    void HistoryChanged(bool canUndo) override {
        log.push_back(canUndo ? "HistoryChanged true" : "HistoryChanged false");
    }

    std::vector<int32_t> progress;
};

// Bytes written one by one, for files built by hand.
class Bytes {
  public:
    Bytes& Text(const std::string& text) {
        mData += text;
        return *this;
    }
    Bytes& B(std::initializer_list<int> bytes) {
        for (int b : bytes) mData += static_cast<char>(static_cast<uint8_t>(b));
        return *this;
    }
    // A 32-bit field, most significant byte first.
    Bytes& U32(uint32_t v) {
        return B({static_cast<int>(v >> 24), static_cast<int>((v >> 16) & 255),
                  static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)});
    }
    Bytes& FE() { return B({254}); }
    Bytes& FF() { return B({255}); }
    const std::string& Data() const { return mData; }
    size_t Size() const { return mData.size(); }

  private:
    std::string mData;
};

class FileTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("corvendi-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                  std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(folder, ec);
        ScoreTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    // A new score with the file event log attached.
    std::shared_ptr<Score> NewFileScore() {
        score = Score::Create();
        fileEvents = std::make_shared<FileEventLog>();
        events = fileEvents;
        score->SetEvents(fileEvents);
        return score;
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteFile(const std::string& path, const std::string& data) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
    }

    static const std::vector<MessageBoxRecord>& Messages() { return Headless().Messages(); }

    std::filesystem::path folder;
    std::shared_ptr<FileEventLog> fileEvents;
};

}  // namespace corvendi::test
