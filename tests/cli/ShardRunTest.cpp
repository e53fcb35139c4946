// Batches split into parts (--shard) and the scheduler recipes in deploy/, run with the
// built pelmora against the real office.
#include "cli/CommandLine.h"
#include "engine/Conversion.h"
#include "engine/Sharding.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <tuple>
#include <utility>

namespace pelmora {
namespace {

// One document's line of a run: the code and what the line names (the source, or for
// 101 the page that exists).
using Outcome = std::pair<std::string, std::string>;

std::vector<Outcome> Outcomes(const std::string& text) {
    static const std::regex line(R"(^\d\d:\d\d:\d\d  (\d{3}), (.*)$)");
    static const std::regex named(R"(^(?:Successfully convert (.*) to .*|Output file (.*) exists, )"
                                  R"(Ignore!|Source file (.*) doesn't exist.*|Convert (.*) )"
                                  R"(failure, the error message is .*)$)");
    std::vector<Outcome> outcomes;
    for (const std::string& text : test::Lines(text)) {
        std::smatch parts;
        EXPECT_TRUE(std::regex_match(text, parts, line)) << text;
        const std::string rest = parts[2];
        std::smatch name;
        EXPECT_TRUE(std::regex_match(rest, name, named)) << text;
        for (int i = 1; i <= 4; ++i) {
            if (name[i].matched) {
                outcomes.emplace_back(parts[1], name[i]);
            }
        }
    }
    return outcomes;
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(fs::relative(entry.path(), folder).string());
    }
    return names;
}

class ShardRun : public ::testing::Test {
protected:
    // The sample documents, copies of some under other names, and pairs of sources that
    // write one page (pair-N.doc and pair-N.rtf both give pair-N.htm).
    void SetUp() override {
        fs::create_directories(docs_);
        for (const auto& entry : fs::directory_iterator(PELMORA_TEST_DATA "/corpus")) {
            if (entry.path().extension() == ".doc") {
                fs::copy_file(entry.path(), docs_ + "/" + entry.path().filename().string());
                list_.push_back(docs_ + "/" + entry.path().filename().string());
            }
        }
        std::sort(list_.begin(), list_.end());
        for (int i = 1; i <= 6; ++i) {
            const std::string copy = docs_ + "/" + ("copy-" + std::to_string(i) + ".doc");
            fs::copy_file(PELMORA_TEST_DATA "/corpus/simple.doc", copy);
            list_.push_back(copy);
        }
        for (int i = 1; i <= 5; ++i) {
            const std::string pair = docs_ + "/" + ("pair-" + std::to_string(i));
            fs::copy_file(PELMORA_TEST_DATA "/corpus/two_images.doc", pair + ".doc");
            test::WriteFile(pair + ".rtf", test::RtfWithPicture("pair " + std::to_string(i)));
            list_.push_back(pair + ".doc");
            list_.push_back(pair + ".rtf");
        }
    }

    std::map<std::string, std::string> Environment() const {
        return {{"TMPDIR", tmp_.Path()},
                {"QT_QPA_PLATFORM", "no-such-platform"},
                {"DISPLAY", ""},
                {"WAYLAND_DISPLAY", ""}};
    }

    std::vector<std::string> Arguments(std::vector<std::string> more) const {
        std::vector<std::string> arguments = list_;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }

    std::string ShardLog(int index, int count) const {
        return dir_ / ("shard-" + std::to_string(index) + "-of-" + std::to_string(count) + ".log");
    }

    // Starts the three parts at once and returns their outcomes, part by part.
    std::vector<test::ProcessResult> RunThreeShardsAtOnce(const std::string& outputFolder) {
        std::vector<std::unique_ptr<test::ChildProcess>> children;
        for (int index = 1; index <= 3; ++index) {
            std::vector<std::string> more{"--shard", std::to_string(index) + "/3",
                                          "-l:" + ShardLog(index, 3)};
            if (!outputFolder.empty()) {
                more.insert(more.end(), {"-d", outputFolder});
            }
            children.push_back(std::make_unique<test::ChildProcess>(
                test::PelmoraBinary(), Arguments(more), Environment()));
        }
        std::vector<test::ProcessResult> results;
        for (auto& child : children) {
            results.push_back(child->Finish());
        }
        ExpectNoOfficeLeft();
        return results;
    }

    // The outcomes a part must give: those of the unsplit run (one line per document, in
    // list order) for the documents the part holds.
    std::vector<Outcome> PartOf(const std::vector<Outcome>& whole, int index, int count,
                                const std::string& outputFolder) const {
        const auto files =
            FilesOfShard(list_, index, count, outputFolder, kCommandLinePageExtension);
        const std::set<std::string> kept(files.begin(), files.end());
        std::vector<Outcome> part;
        for (std::size_t i = 0; i < whole.size() && i < list_.size(); ++i) {
            if (kept.count(list_[i]) != 0) {
                part.push_back(whole[i]);
            }
        }
        return part;
    }

    void ExpectNoOfficeLeft() const {
        EXPECT_THAT(test::ProcessesUsingTemporaryFolder(tmp_.Path()), IsEmpty());
    }

    test::TempFolder dir_;
    test::TempFolder tmp_;
    std::string docs_ = dir_ / "docs";
    std::string out_ = dir_ / "out";
    std::vector<std::string> list_;
};

TEST_F(ShardRun, ThreeShardsAtOnceConvertEachDocumentOnceAsOneRunDoes) {
    const auto whole =
        test::RunPelmora(Arguments({"-d", out_, "-l:" + (dir_ / "whole.log")}), Environment());
    ASSERT_EQ(whole.exitStatus, 1) << whole.err; // the encrypted sample fails
    const std::vector<Outcome> expected = Outcomes(whole.out);
    ASSERT_EQ(expected.size(), list_.size()) << whole.out;
    const std::set<std::string> pages = FilesIn(out_);
    fs::remove_all(out_);

    const auto parts = RunThreeShardsAtOnce(out_);
    std::size_t converted = 0;
    for (int index = 1; index <= 3; ++index) {
        const auto& part = parts[static_cast<std::size_t>(index - 1)];
        EXPECT_NE(part.exitStatus, 2) << part.err;
        const std::vector<Outcome> outcomes = Outcomes(part.out);
        EXPECT_FALSE(outcomes.empty()) << "part " << index;
        EXPECT_EQ(outcomes, PartOf(expected, index, 3, out_)) << "part " << index;
        // Each part's log holds its own lines, in list order, as its output shows them.
        EXPECT_EQ(test::ReadFile(ShardLog(index, 3)), part.out) << "part " << index;
        converted += outcomes.size();
    }
    EXPECT_EQ(converted, list_.size());
    EXPECT_EQ(FilesIn(out_), pages);
    // Every pair wrote its page once, from its .doc; its .rtf found the page there.
    for (int i = 1; i <= 5; ++i) {
        const std::string pair = "pair-" + std::to_string(i);
        EXPECT_EQ(test::ReadFile(out_ + "/" + pair + ".htm").find("pair " + std::to_string(i)),
                  std::string::npos)
            << pair << ".htm was written by its .rtf";
    }
}

TEST_F(ShardRun, OnePartOfOneIsTheWholeRun) {
    const auto whole =
        test::RunPelmora(Arguments({"-d", out_, "-l:" + (dir_ / "whole.log")}), Environment());
    ASSERT_FALSE(whole.out.empty()) << whole.err;
    fs::remove_all(out_);
    const auto one = test::RunPelmora(
        Arguments({"-d", out_, "--shard", "1/1", "-l:" + (dir_ / "one.log")}), Environment());
    EXPECT_EQ(one.exitStatus, whole.exitStatus) << one.err;
    EXPECT_EQ(Outcomes(one.out), Outcomes(whole.out));
    EXPECT_EQ(Outcomes(test::ReadFile(dir_ / "one.log")), Outcomes(whole.out));
    ExpectNoOfficeLeft();
}

TEST_F(ShardRun, SourcesThatShareAPageBesideThemLandInOneShard) {
    list_.erase(list_.begin(), list_.end() - 10); // the five pairs only
    const auto parts = RunThreeShardsAtOnce("");
    std::map<std::string, std::pair<int, std::string>> seen; // document: part and code
    for (int index = 1; index <= 3; ++index) {
        for (const auto& [code, named] : Outcomes(parts[static_cast<std::size_t>(index - 1)].out)) {
            EXPECT_TRUE(seen.emplace(named, std::make_pair(index, code)).second) << named;
        }
    }
    for (int i = 1; i <= 5; ++i) {
        const std::string pair = docs_ + "/" + ("pair-" + std::to_string(i));
        ASSERT_EQ(seen.count(pair + ".doc"), 1u) << pair;
        ASSERT_EQ(seen.count(pair + ".htm"), 1u) << pair;
        EXPECT_EQ(seen[pair + ".doc"].second, "100");
        EXPECT_EQ(seen[pair + ".htm"].second, "101");
        EXPECT_EQ(seen[pair + ".doc"].first, seen[pair + ".htm"].first) << pair;
    }
    EXPECT_EQ(seen.size(), 10u);
}

TEST_F(ShardRun, BadValuesAreRefusedAndConvertNothing) {
    for (const std::string value : {"0/3", "4/3", "3", "x/y", "1/0", "2/3/4", "-1/3", "1/", "/3"}) {
        for (const auto& form : {std::vector<std::string>{"--shard", value},
                                 std::vector<std::string>{"--shard=" + value}}) {
            auto arguments = Arguments({"-d", out_, "-l:" + (dir_ / "bad.log")});
            arguments.insert(arguments.end(), form.begin(), form.end());
            const auto result = test::RunPelmora(arguments, Environment());
            EXPECT_NE(result.exitStatus, 0) << value;
            EXPECT_THAT(result.err, HasSubstr("--shard")) << value;
            EXPECT_THAT(result.out, Not(HasSubstr("Successfully convert"))) << value;
            EXPECT_FALSE(fs::exists(out_)) << value;
            EXPECT_FALSE(fs::exists(dir_ / "bad.log")) << value;
        }
    }
    ExpectNoOfficeLeft();
}

TEST_F(ShardRun, ParallelRecipeRunsThreeLocalShards) {
    auto environment = Environment();
    environment["SHARDS"] = "3";
    environment["LOG_DIR"] = dir_.Path();
    environment["PELMORA"] = test::PelmoraBinary();
    const auto whole =
        test::RunPelmora(Arguments({"-d", out_, "-l:" + (dir_ / "whole.log")}), Environment());
    const std::vector<Outcome> expected = Outcomes(whole.out);
    ASSERT_EQ(expected.size(), list_.size()) << whole.out;
    fs::remove_all(out_);

    // A blank in the output folder must reach pelmora untouched.
    const std::string out = dir_ / "out folder";
    std::vector<std::string> arguments{PELMORA_SOURCE_DIR "/deploy/parallel/pelmora-shards.sh"};
    for (const std::string& file : Arguments({"-d", out})) {
        arguments.push_back(file);
    }
    const auto result = test::ChildProcess("/bin/bash", arguments, environment).Finish();
    ExpectNoOfficeLeft();
    // parallel counts the parts that did not end with 0: one holds the encrypted sample.
    EXPECT_EQ(result.exitStatus, 1) << result.err;

    std::string concatenated;
    std::size_t converted = 0;
    for (int index = 1; index <= 3; ++index) {
        const std::string log = test::ReadFile(ShardLog(index, 3));
        auto outcomes = Outcomes(log);
        converted += outcomes.size();
        for (auto& [code, named] : outcomes) {
            if (named.rfind(out, 0) == 0) {
                named = out_ + named.substr(out.size());
            }
        }
        EXPECT_EQ(outcomes, PartOf(expected, index, 3, out_)) << "part " << index;
        concatenated += log;
    }
    EXPECT_EQ(converted, list_.size());
    // Standard output holds the parts whole, one after the other.
    EXPECT_EQ(result.out, concatenated);
}

TEST_F(ShardRun, SlurmScriptTakesItsPartFromTheArrayVariables) {
    const std::string script = PELMORA_SOURCE_DIR "/deploy/slurm/pelmora-array.sbatch";
    auto environment = Environment();
    environment["LOG_DIR"] = dir_.Path();
    environment["PELMORA"] = test::PelmoraBinary();
    environment["SLURM_ARRAY_TASK_COUNT"] = "3";
    std::vector<std::string> arguments{script};
    for (const std::string& file : Arguments({"-d", out_})) {
        arguments.push_back(file);
    }

    // An array numbered from 1: task 2 is part 2; one numbered from 0: task 0 is part 1.
    for (const auto& [first, task, part] : {std::tuple{"1", "2", 2}, std::tuple{"0", "0", 1}}) {
        environment["SLURM_ARRAY_TASK_MIN"] = first;
        environment["SLURM_ARRAY_TASK_ID"] = task;
        const auto result = test::ChildProcess("/bin/bash", arguments, environment).Finish();
        EXPECT_NE(result.exitStatus, 2) << result.err;
        const auto files = FilesOfShard(list_, part, 3, out_, kCommandLinePageExtension);
        std::vector<std::string> sources;
        for (const auto& [code, named] : Outcomes(test::ReadFile(ShardLog(part, 3)))) {
            sources.push_back(named);
        }
        ASSERT_EQ(sources.size(), files.size()) << "task " << task;
        for (std::size_t i = 0; i < files.size(); ++i) {
            // A 101 line names the page, every other line the source.
            EXPECT_TRUE(sources[i] == files[i] ||
                        sources[i] == PagePath(files[i], out_, kCommandLinePageExtension))
                << sources[i] << " for " << files[i];
        }
    }

    // A task outside the array, or no array at all: nothing starts.
    environment["SLURM_ARRAY_TASK_MIN"] = "1";
    environment["SLURM_ARRAY_TASK_ID"] = "4";
    EXPECT_EQ(test::ChildProcess("/bin/bash", arguments, environment).Finish().exitStatus, 64);
    environment.erase("SLURM_ARRAY_TASK_ID");
    EXPECT_NE(test::ChildProcess("/bin/bash", arguments, environment).Finish().exitStatus, 0);
    EXPECT_FALSE(fs::exists(ShardLog(3, 3)));
    ExpectNoOfficeLeft();
}

} // namespace
} // namespace pelmora
