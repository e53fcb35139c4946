// Fits the weights of the expected-cost model to measured conversion times.
// Reads "seconds path" lines (one office converting one document at a time) from
// standard input and prints the least-squares weights: seconds per document, and per
// megabyte of binary Word text, embedded data, RTF and Word 2003 XML. Then how well
// the fit and the weights now built in rank and sum the measured documents.
//
// With --record FILE, also writes "path kind bytes embedded-bytes seconds" a document;
// with --recorded, reads "kind bytes embedded-bytes seconds" lines instead.
// Used by bench/fit_cost_weights.sh.

#include "engine/ExpectedCost.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kTerms = 5;
using Row = std::array<double, kTerms>;

Row Terms(const pelmora::CostFeatures& features) {
    constexpr double kMegabyte = 1 << 20;
    const double embedded = static_cast<double>(std::min(features.embeddedBytes, features.bytes));
    const double rest = (static_cast<double>(features.bytes) - embedded) / kMegabyte;
    Row row{1, 0, embedded / kMegabyte, 0, 0};
    switch (features.kind) {
    case pelmora::DocumentKind::kRtf:
        row[3] = rest;
        break;
    case pelmora::DocumentKind::kWordXml:
        row[4] = rest;
        break;
    default:
        row[1] = rest;
        break;
    }
    return row;
}

// Solves the normal equations by Gaussian elimination, each document weighted by the
// inverse of its time, so that the many short documents count as well as the few
// long ones (the error is relative, not absolute). Terms not in use stay 0.
Row LeastSquares(const std::vector<Row>& rows, const std::vector<double>& seconds,
                 const std::array<bool, kTerms>& use) {
    std::array<std::array<double, kTerms + 1>, kTerms> m{};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double weight = 1 / std::max(seconds[r], 0.05);
        for (std::size_t i = 0; i < kTerms; ++i) {
            for (std::size_t j = 0; j < kTerms; ++j) {
                m[i][j] += use[i] && use[j] ? weight * rows[r][i] * rows[r][j] : 0;
            }
            m[i][kTerms] += use[i] ? weight * rows[r][i] * seconds[r] : 0;
        }
    }
    for (std::size_t i = 0; i < kTerms; ++i) {
        m[i][i] += 1e-9; // keeps an unused term solvable
    }
    for (std::size_t c = 0; c < kTerms; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < kTerms; ++r) {
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) {
                pivot = r;
            }
        }
        std::swap(m[c], m[pivot]);
        for (std::size_t r = 0; r < kTerms; ++r) {
            if (r != c) {
                const double f = m[r][c] / m[c][c];
                for (std::size_t k = c; k <= kTerms; ++k) {
                    m[r][k] -= f * m[c][k];
                }
            }
        }
    }
    Row weights{};
    for (std::size_t i = 0; i < kTerms; ++i) {
        weights[i] = m[i][kTerms] / m[i][i];
    }
    return weights;
}

// Of all pairs of documents whose times differ by more than a tenth, the share that
// the costs put in the same order.
double PairsInOrder(const std::vector<double>& costs, const std::vector<double>& seconds) {
    std::size_t pairs = 0;
    std::size_t right = 0;
    for (std::size_t a = 0; a < costs.size(); ++a) {
        for (std::size_t b = a + 1; b < costs.size(); ++b) {
            if (std::fabs(seconds[a] - seconds[b]) > 0.1 * std::max(seconds[a], seconds[b])) {
                ++pairs;
                right += (costs[a] < costs[b]) == (seconds[a] < seconds[b]);
            }
        }
    }
    return pairs == 0 ? 1 : static_cast<double>(right) / pairs;
}

void Report(const char* name, const std::vector<double>& costs,
            const std::vector<double>& seconds) {
    double sumCost = 0;
    double sumSeconds = 0;
    for (std::size_t i = 0; i < costs.size(); ++i) {
        sumCost += costs[i];
        sumSeconds += seconds[i];
    }
    std::printf("%s: sum %.1f s expected for %.1f s measured, %.0f%% of unequal pairs in order\n",
                name, sumCost, sumSeconds, 100 * PairsInOrder(costs, seconds));
}

const char* KindName(pelmora::DocumentKind kind) {
    switch (kind) {
    case pelmora::DocumentKind::kRtf:
        return "rtf";
    case pelmora::DocumentKind::kWordXml:
        return "xml";
    default:
        return "doc";
    }
}

} // namespace

int main(int argc, char** argv) {
    std::ofstream record;
    if (argc == 3 && std::string(argv[1]) == "--record") {
        record.open(argv[2]);
    }
    // A file a run recorded before: "kind bytes embedded-bytes seconds" lines.
    const bool recorded = argc == 2 && std::string(argv[1]) == "--recorded";
    std::vector<Row> rows;
    std::vector<double> seconds;
    std::vector<double> builtIn;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        double taken = 0;
        std::string path;
        pelmora::CostFeatures features;
        if (recorded) {
            std::string kind;
            if (!(fields >> kind >> features.bytes >> features.embeddedBytes >> taken)) {
                continue;
            }
            features.kind = kind == "rtf"   ? pelmora::DocumentKind::kRtf
                            : kind == "xml" ? pelmora::DocumentKind::kWordXml
                                            : pelmora::DocumentKind::kBinaryWord;
        } else if (!(fields >> taken) || !std::getline(fields >> std::ws, path)) {
            continue;
        } else {
            features = pelmora::ReadCostFeatures(path);
        }
        rows.push_back(Terms(features));
        seconds.push_back(taken);
        builtIn.push_back(pelmora::ExpectedCost(features));
        if (record.is_open()) {
            record << path << ' ' << KindName(features.kind) << ' ' << features.bytes << ' '
                   << features.embeddedBytes << ' ' << taken << '\n';
        }
    }
    if (rows.empty()) {
        std::cerr << "no \"seconds path\" lines on standard input\n";
        return 1;
    }
    // A weight below zero is dropped and the rest fitted again: no kind of byte makes
    // a document cheaper.
    std::array<bool, kTerms> use;
    use.fill(true);
    Row w = LeastSquares(rows, seconds, use);
    for (std::size_t round = 0; round < kTerms; ++round) {
        for (std::size_t i = 0; i < kTerms; ++i) {
            use[i] = use[i] && w[i] >= 0;
        }
        w = LeastSquares(rows, seconds, use);
    }
    std::printf("%zu documents\nfitted: base %.3f s; per MB: binary text %.2f s, embedded %.2f s, "
                "RTF %.2f s, Word XML %.2f s\n",
                rows.size(), w[0], w[1], w[2], w[3], w[4]);
    std::vector<double> fitted;
    for (const Row& row : rows) {
        double cost = 0;
        for (std::size_t i = 0; i < kTerms; ++i) {
            cost += w[i] * row[i];
        }
        fitted.push_back(cost);
    }
    Report("fitted", fitted, seconds);
    Report("built in", builtIn, seconds);
    return 0;
}
