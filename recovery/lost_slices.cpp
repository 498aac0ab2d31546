#include "recovery/lost_slices.h"

namespace vtq::recovery {
namespace {

std::vector<Gf16> RowOf(std::span<const Gf16> lost, uint32_t exponent) {
  std::vector<Gf16> row(lost.size());
  for (size_t k = 0; k < lost.size(); ++k)
    row[k] = GfPower(lost[k], exponent);
  return row;
}

}  // namespace

std::optional<LostSliceSolution> SolveLostSlices(std::span<const Gf16> lost,
                                                 std::span<const uint32_t> exponents) {
  const size_t m = lost.size();
  LostSliceSolution solution;
  // The rows kept so far, each reduced by the ones before it and scaled to
  // 1 at its own pivot column, whose entry every later row has cleared.
  std::vector<std::vector<Gf16>> reduced;
  std::vector<size_t> pivots;
  for (size_t j = 0; j < exponents.size() && solution.used.size() < m; ++j) {
    if (exponents.size() - j < m - solution.used.size())
      break;  // too few left to make up the rest
    std::vector<Gf16> row = RowOf(lost, exponents[j]);
    for (size_t r = 0; r < reduced.size(); ++r) {
      const Gf16 factor = row[pivots[r]];
      if (factor == 0)
        continue;
      for (size_t k = 0; k < m; ++k)
        row[k] ^= GfMultiply(factor, reduced[r][k]);
    }
    size_t pivot = 0;
    while (pivot < m && row[pivot] == 0)
      ++pivot;
    if (pivot == m)
      continue;  // a sum of the rows kept: it tells nothing new
    const Gf16 scale = GfInverse(row[pivot]);
    for (Gf16& entry : row)
      entry = GfMultiply(entry, scale);
    reduced.push_back(std::move(row));
    pivots.push_back(pivot);
    solution.used.push_back(j);
  }
  if (solution.used.size() < m)
    return std::nullopt;
  solution.inverse.reserve(m * m);
  for (const size_t j : solution.used) {
    const std::vector<Gf16> row = RowOf(lost, exponents[j]);
    solution.inverse.insert(solution.inverse.end(), row.begin(), row.end());
  }
  // Independent rows: the inversion cannot fail.
  if (!InvertMatrix(solution.inverse, m))
    return std::nullopt;
  return solution;
}

}  // namespace vtq::recovery
