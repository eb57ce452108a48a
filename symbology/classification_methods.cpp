#include "symbology/classification_methods.h"

#include "input/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tessaly {

namespace {

// The runs of equal values: a class boundary may only fall at a run's start.
struct Runs {
    std::vector<std::size_t> starts;  // index of each run's first value
    std::vector<double> values;
};

Runs EqualValueRuns(const std::vector<double>& sorted) {
    Runs r;
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (i == 0 || sorted[i] != sorted[i - 1]) {
            r.starts.push_back(i);
            r.values.push_back(sorted[i]);
        }
    return r;
}

// One class per run, when there are no more runs than classes.
ClassEnds OnePerRun(const Runs& runs, std::size_t total) {
    ClassEnds ends(runs.starts.begin() + 1, runs.starts.end());
    ends.push_back(total);
    return ends;
}

// Sums over runs [a, b) of weight, value and squared value, the values taken
// about their mean so that the differences keep their precision.
class RunSums {
public:
    explicit RunSums(const std::vector<double>& sorted, const Runs& runs) {
        double mean = 0;
        for (double v : sorted) mean += v / static_cast<double>(sorted.size());
        const std::size_t n = runs.starts.size();
        w_.assign(n + 1, 0);
        s_.assign(n + 1, 0);
        q_.assign(n + 1, 0);
        for (std::size_t g = 0; g < n; ++g) {
            const std::size_t end = g + 1 < n ? runs.starts[g + 1] : sorted.size();
            const double weight = static_cast<double>(end - runs.starts[g]);
            const double x = runs.values[g] - mean;
            w_[g + 1] = w_[g] + weight;
            s_[g + 1] = s_[g] + weight * x;
            q_[g + 1] = q_[g] + weight * x * x;
        }
    }
    // Squared deviations of runs [a, b) from their mean; b > a.
    double Cost(std::size_t a, std::size_t b) const {
        const double s = s_[b] - s_[a];
        return std::max(0.0, q_[b] - q_[a] - s * s / (w_[b] - w_[a]));
    }

private:
    std::vector<double> w_, s_, q_;
};

// One layer of the dynamic programme: next[i] = min over t of prev[t] + Cost(t, i)
// for i in [lo, hi], with t in [j - 1, i - 1] for layer j. The best t never moves
// left as i grows (the cost is Monge on sorted values), so each half of the range
// searches only on its side of the middle's best t.
class Layer {
public:
    Layer(const RunSums& sums, const std::vector<double>& prev, std::vector<double>& next,
          std::uint32_t* back)
        : sums_(sums), prev_(prev), next_(next), back_(back) {}

    void Solve(std::size_t lo, std::size_t hi, std::size_t optLo, std::size_t optHi) {
        while (lo <= hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            double best = std::numeric_limits<double>::infinity();
            std::size_t arg = optLo;
            const std::size_t last = std::min(optHi, mid - 1);
            for (std::size_t t = optLo; t <= last; ++t) {
                const double c = prev_[t] + sums_.Cost(t, mid);
                if (c < best) {
                    best = c;
                    arg = t;
                }
            }
            next_[mid] = best;
            if (back_ != nullptr) back_[mid] = static_cast<std::uint32_t>(arg);
            // Recurse on the smaller side, loop on the other: the depth stays logarithmic.
            if (mid - lo < hi - mid) {
                if (mid > lo) Solve(lo, mid - 1, optLo, arg);
                lo = mid + 1;
                optLo = arg;
            } else {
                if (hi > mid) Solve(mid + 1, hi, arg, optHi);
                if (mid == lo) break;
                hi = mid - 1;
                optHi = arg;
            }
        }
    }

private:
    const RunSums& sums_;
    const std::vector<double>& prev_;
    std::vector<double>& next_;
    std::uint32_t* back_;
};

// Back pointers cost four bytes per run and layer; past this budget the layers are
// kept only at checkpoints and recomputed between them while tracing back.
constexpr std::size_t kBackPointerBudget = std::size_t{64} << 20;

}  // namespace

ClassEnds QuantileClasses(const std::vector<double>& sorted, int classCount) {
    if (sorted.empty() || classCount < 1) return {};
    const Runs runs = EqualValueRuns(sorted);
    const std::size_t n = static_cast<std::size_t>(classCount);
    if (runs.starts.size() <= n) return OnePerRun(runs, sorted.size());
    // The candidate boundaries are the run starts after the first; boundary i goes
    // to the candidate nearest i * total / n that leaves one for each later class.
    const std::vector<std::size_t> candidates(runs.starts.begin() + 1, runs.starts.end());
    ClassEnds ends;
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double ideal = static_cast<double>(i) * static_cast<double>(sorted.size()) / static_cast<double>(n);
        const std::size_t highest = candidates.size() - (n - i);
        std::size_t c = static_cast<std::size_t>(
            std::lower_bound(candidates.begin(), candidates.end(), ideal,
                             [](std::size_t a, double b) { return static_cast<double>(a) < b; }) -
            candidates.begin());
        if (c > 0 && (c == candidates.size() ||
                      ideal - static_cast<double>(candidates[c - 1]) <= static_cast<double>(candidates[c]) - ideal))
            --c;
        c = std::clamp(c, lowest, highest);
        ends.push_back(candidates[c]);
        lowest = c + 1;
    }
    ends.push_back(sorted.size());
    return ends;
}

ClassEnds NaturalBreakClasses(const std::vector<double>& sorted, int classCount) {
    if (sorted.empty() || classCount < 1) return {};
    const Runs runs = EqualValueRuns(sorted);
    const std::size_t d = runs.starts.size();
    const std::size_t n = static_cast<std::size_t>(classCount);
    if (d <= n) return OnePerRun(runs, sorted.size());
    const RunSums sums(sorted, runs);

    // Layer j holds, for i runs, the least cost of j classes over runs [0, i);
    // only i in [j, d - (n - j)] can lead to n classes over all d runs.
    auto first = [&](std::size_t j) { return j; };
    auto last = [&](std::size_t j) { return d - (n - j); };
    const std::size_t span = std::max<std::size_t>(1, kBackPointerBudget / (4 * (d + 1)));
    std::vector<std::size_t> checkpoints{1};
    while (checkpoints.back() + span < n) checkpoints.push_back(checkpoints.back() + span);

    std::vector<std::vector<double>> saved;
    std::vector<double> layer(d + 1, std::numeric_limits<double>::infinity()), next(d + 1);
    for (std::size_t i = first(1); i <= last(1); ++i) layer[i] = sums.Cost(0, i);
    saved.push_back(layer);
    for (std::size_t j = 2; j <= checkpoints.back(); ++j) {
        std::fill(next.begin(), next.end(), std::numeric_limits<double>::infinity());
        Layer(sums, layer, next, nullptr).Solve(first(j), last(j), j - 1, last(j - 1));
        layer.swap(next);
        if (std::find(checkpoints.begin(), checkpoints.end(), j) != checkpoints.end()) saved.push_back(layer);
    }

    // Trace back from the last layer, one stretch between checkpoints at a time.
    std::vector<std::size_t> runEnds(n + 1);
    runEnds[n] = d;
    std::vector<std::uint32_t> back;
    for (std::size_t c = checkpoints.size(), top = n; c-- > 0;) {
        const std::size_t base = checkpoints[c];
        if (top == base) continue;
        back.assign((top - base) * (d + 1), 0);
        layer = saved[c];
        for (std::size_t j = base + 1; j <= top; ++j) {
            std::fill(next.begin(), next.end(), std::numeric_limits<double>::infinity());
            Layer(sums, layer, next, back.data() + (j - base - 1) * (d + 1)).Solve(first(j), last(j), j - 1, last(j - 1));
            layer.swap(next);
        }
        for (std::size_t j = top; j > base; --j) runEnds[j - 1] = back[(j - base - 1) * (d + 1) + runEnds[j]];
        top = base;
    }
    ClassEnds ends;
    for (std::size_t k = 1; k <= n; ++k) ends.push_back(runEnds[k] < d ? runs.starts[runEnds[k]] : sorted.size());
    return ends;
}

namespace {

// The bound between a class ending at a and the next starting at c, printed
// with `digits` decimals. Class folders take a class as low <= x < high, the
// lookup without folders as low <= x <= high, so a < b < c serves both; where no
// printable number lies strictly between, a <= b < c still serves the lookup.
std::string BoundBetween(double a, double c, int digits) {
    const double scale = std::pow(10.0, digits);
    const double above = std::floor(a * scale);
    const std::string candidates[] = {FormatNumber(1, digits, a / 2 + c / 2),
                                      FormatNumber(1, digits, (above + 1) / scale),
                                      FormatNumber(1, digits, (above + 2) / scale),
                                      FormatNumber(1, digits, above / scale)};
    for (const bool strict : {true, false})
        for (const std::string& text : candidates) {
            const double b = TextToNumber(text);
            if ((strict ? a < b : a <= b) && b < c) return text;
        }
    return candidates[0];  // the decimals cannot tell a from c
}

}  // namespace

std::vector<std::string> ClassTexts(const std::vector<double>& sorted, const ClassEnds& ends, int digits) {
    std::vector<std::string> texts;
    std::string low = FormatNumber(1, digits, sorted.empty() ? 0 : sorted.front());
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const std::size_t end = ends[k];
        std::string high = end < sorted.size() ? BoundBetween(sorted[end - 1], sorted[end], digits)
                                               : FormatNumber(1, digits, sorted.back());
        texts.push_back(low + " : " + high);
        low = std::move(high);
    }
    return texts;
}

}  // namespace tessaly
