#pragma once

// Sine and cosine of angles in [0, pi] without calling libm on the audio path: libm's values
// at steps of 1/64 rad, moved to the angle by the sum formulas with a short series for the
// remainder (|r| <= 1/128). The results are within kMaxError of libm's; callers that need
// libm's exact bits check that the difference cannot matter, or call libm.
class SineCosineTable
{
public:
    static constexpr int kStepsPerRadian = 64;
    static constexpr int kEntries = 202;  // 0 .. 201/64 rad, just past pi
    static constexpr double kMaxError = 1.0e-12;

    SineCosineTable();

    // False, and nothing written, for angles outside the table (or not a number).
    bool lookup(double theta, double& sine, double& cosine) const
    {
        const double scaled = theta * kStepsPerRadian;
        if (!m_bFilled || !(scaled >= 0.0 && scaled <= kEntries - 1.5))
            return false;
        const int index = static_cast<int>(scaled + 0.5);
        // Exact: theta is a float widened, the grid point has six fractional bits.
        const double r = theta - static_cast<double>(index) * (1.0 / kStepsPerRadian);
        const double r2 = r * r;
        const double sinR = r * (1.0 - r2 * (1.0 / 6.0) * (1.0 - r2 * (1.0 / 20.0)));
        const double cosRMinusOne = -r2 * 0.5 * (1.0 - r2 * (1.0 / 12.0) * (1.0 - r2 * (1.0 / 30.0)));
        const double s = m_Sine[index];
        const double c = m_Cosine[index];
        sine = s + (s * cosRMinusOne + c * sinR);
        cosine = c + (c * cosRMinusOne - s * sinR);
        return true;
    }

    // The one table, filled when the module loads.
    static const SineCosineTable& shared() { return s_Shared; }

private:
    static const SineCosineTable s_Shared;

    double m_Sine[kEntries];
    double m_Cosine[kEntries];
    // Static storage is zero before the constructor runs: a use from another module-load
    // initialiser finds the table empty and falls back instead of reading zeros.
    bool m_bFilled;
};
