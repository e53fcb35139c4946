// The container file and the Kubernetes manifest in deploy/, checked as far as this
// machine allows: there is no container daemon and no cluster here.
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace pelmora {
namespace {

TEST(Deploy, KubernetesJobIsAnIndexedJobOfNParts) {
    // python3-yaml reads the manifest (a syntax error fails here) and hands over the
    // fields that make the split, one a line.
    const std::string manifest = PELMORA_SOURCE_DIR "/deploy/kubernetes/pelmora-job.yaml";
    const auto read =
        test::ChildProcess("/usr/bin/python3",
                           {"-c",
                            "import sys, yaml\n"
                            "job = yaml.safe_load(open(sys.argv[1]))\n"
                            "spec = job['spec']\n"
                            "pod = spec['template']['spec']\n"
                            "box = pod['containers'][0]\n"
                            "env = {e['name']: e['value'] for e in box['env']}\n"
                            "print(job['apiVersion'], job['kind'], spec['completionMode'],"
                            " pod['restartPolicy'])\n"
                            "print(spec['completions'], spec['parallelism'], env['SHARDS'])\n"
                            "print(' '.join(box['command']))\n"
                            "sys.stdout.write(box['args'][0])\n",
                            manifest})
            .Finish();
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    const auto lines = test::Lines(read.out);
    ASSERT_EQ(lines.size(), 4u) << read.out;
    EXPECT_EQ(lines[0], "batch/v1 Job Indexed Never");
    EXPECT_EQ(lines[1], "4 4 4");
    EXPECT_EQ(lines[2], "/bin/sh -c");

    // The pod's command line for the third pod, with a pelmora that prints its arguments.
    test::TempFolder bin;
    test::WriteFile(bin / "pelmora", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done\n");
    chmod((bin / "pelmora").c_str(), 0755);
    const auto pod = test::ChildProcess("/bin/sh", {"-c", lines[3]},
                                        {{"JOB_COMPLETION_INDEX", "2"},
                                         {"SHARDS", "4"},
                                         {"PATH", bin.Path() + ":" + std::getenv("PATH")}})
                         .Finish();
    ASSERT_EQ(pod.exitStatus, 0) << pod.err;
    EXPECT_THAT(test::Lines(pod.out),
                ElementsAre("/data/in/*.doc", "-s", "-d", "/data/out", "--shard", "3/4",
                            "-l:/data/logs/shard-3-of-4.log", "--sandbox=on"));
}

TEST(Deploy, ContainerFileUsesThePathsOfThisTree) {
    const std::string file = test::ReadFile(PELMORA_SOURCE_DIR "/deploy/container/Dockerfile");
    EXPECT_THAT(file, HasSubstr("\nFROM debian:bookworm\n"));
    EXPECT_THAT(file, HasSubstr("scripts/setup.sh"));
    for (const std::string package : {"libreoffice-writer-nogui", "bubblewrap"}) {
        EXPECT_THAT(test::ReadFile(PELMORA_SOURCE_DIR "/scripts/setup.sh"), HasSubstr(package));
    }
    // The sandbox is on whatever the user's arguments are: the option follows them, as
    // the file list ends at the first option.
    EXPECT_THAT(
        file,
        HasSubstr(
            R"(ENTRYPOINT ["/bin/sh", "-c", "exec pelmora \"$@\" --sandbox=on", "pelmora"])"));
    // What it installs from the build must be where the build puts it.
    for (const std::string built : {"build/app/pelmora", "resources/help.html"}) {
        EXPECT_THAT(file, HasSubstr(built));
    }
    EXPECT_TRUE(fs::exists(PELMORA_BINARY_DIR "/app/pelmora"));
    EXPECT_TRUE(fs::exists(PELMORA_SOURCE_DIR "/resources/help.html"));
}

TEST(Deploy, ScriptsAreValidShell) {
    for (const std::string script :
         {"/deploy/parallel/pelmora-shards.sh", "/deploy/slurm/pelmora-array.sbatch"}) {
        const auto checked =
            test::ChildProcess("/bin/bash", {"-n", PELMORA_SOURCE_DIR + script}).Finish();
        EXPECT_EQ(checked.exitStatus, 0) << script << ": " << checked.err;
    }
}

} // namespace
} // namespace pelmora
