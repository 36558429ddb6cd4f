// The moment and shear lines of every position of a moving-load run, kept for the plot that
// shows them all: the points along the beam once (they are the same at every position), and the
// values of all positions one after another in one block. A position's full beam result (its
// rotations, deflections, reactions and member objects) is nearly three times as large and is
// read by nobody once its effects are in the envelopes.
#pragma once

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/SpareAllocator.h"

#include <cstddef>
#include <vector>

class CKeptPositions
{
public:
    // Room for this many positions, so that the block is not copied as it grows.
    void Reserve(std::size_t positions);
    // Adds one position: the x, M and V of every member in member order (no result: nothing).
    void Add(const CBeamResults* results);
    // Adds the position when each of its moments and shears is a finite number (true); otherwise
    // leaves everything as it was (false).
    bool AddFinite(const CBeamResults& results);
    // Takes the last position back out.
    void RemoveLast();
    // Gives back the room reserved beyond the positions added.
    void Trim();

    std::size_t GetCount() const { return m_vPositions.size(); }
    // The positions x along the beam and the values y (BRT_MOMENT or BRT_SHEAR; any other kind
    // throws "Error in choice of BeamResultsType") of position i, as CBeamResults::GetResults
    // gives them. An i not below GetCount() throws std::out_of_range.
    void GetLine(std::size_t i, int kind, std::vector<double>& x, std::vector<double>& y) const;
    // The same without a copy: the n points along the beam of position i and its n values of
    // kind, where they are held (valid until the positions change). A position whose values are
    // not one to a point gives n = 0.
    void GetLineData(std::size_t i, int kind, const double*& x, const double*& y, std::size_t& n) const;
    // The bytes the block holds (for the memory a run needs).
    std::size_t GetBytes() const;

private:
    struct SPosition
    {
        std::size_t x = 0;      // start of its points in m_vX
        std::size_t nX = 0;     // their number
        std::size_t values = 0; // start of its moments in m_vValues; its shears follow them
        std::size_t nM = 0;
        std::size_t nV = 0;
    };

    // The start in m_vX of the points of results: those of the last position when they are the
    // same, bit for bit; otherwise they are added.
    std::size_t PointsOf(const CBeamResults& results, std::size_t& n);
    // Adds the position; with bCheck only when its values are finite (false: nothing added).
    bool Append(const CBeamResults& results, bool bCheck);

    // The large blocks come from the spare blocks of earlier runs: a run repeated on a case writes
    // its positions into pages already in memory.
    std::vector<double> m_vX;
    std::vector<double, CSpareAllocator<double>> m_vValues;
    std::vector<SPosition, CSpareAllocator<SPosition>> m_vPositions;
    std::size_t m_nReserved = 0; // positions Reserve was given
};
