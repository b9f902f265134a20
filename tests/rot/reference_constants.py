# Rotational constants of water and ammonia from their Cartesian geometry, in double
# precision, independently of tessen-rot: tessen's placement rules as the README states
# them, a Jacobi eigenvalue sweep, and F = h / (8 pi^2 u A^2) from the CODATA 2018 h and u.
import math

H, U = 6.62607015e-34, 1.66053906660e-27
F = H / (8 * math.pi ** 2 * U * 1e-20) / 1e6  # MHz u A^2

def sub(a, b): return [a[i] - b[i] for i in range(3)]
def add(a, b): return [a[i] + b[i] for i in range(3)]
def mul(a, s): return [x * s for x in a]
def dot(a, b): return sum(a[i] * b[i] for i in range(3))
def cross(a, b): return [a[1]*b[2]-a[2]*b[1], a[2]*b[0]-a[0]*b[2], a[0]*b[1]-a[1]*b[0]]
def unit(a): return mul(a, 1 / math.sqrt(dot(a, a)))

def place(atoms, j, k, l, r, a, t):
    """The fourth record on: J + R cos A e1 + R sin A cos T e2 + R sin A sin T e3."""
    a, t = math.radians(a), math.radians(t)
    e1 = unit(sub(atoms[k], atoms[j]))
    v = sub(atoms[l], atoms[j])
    e2 = unit(sub(v, mul(e1, dot(v, e1))))
    e3 = cross(e1, e2)
    off = add(add(mul(e1, r * math.cos(a)), mul(e2, r * math.sin(a) * math.cos(t))),
              mul(e3, r * math.sin(a) * math.sin(t)))
    return add(atoms[j], off)

def moments(atoms, masses):
    m = sum(masses)
    c = [sum(masses[i] * atoms[i][k] for i in range(len(atoms))) / m for k in range(3)]
    t = [[0.0] * 3 for _ in range(3)]
    for p, w in zip(atoms, masses):
        r = sub(p, c)
        for i in range(3):
            for j in range(3):
                t[i][j] += w * ((dot(r, r) if i == j else 0) - r[i] * r[j])
    for _ in range(100):  # Jacobi rotations until the off-diagonal is gone
        off = max((abs(t[i][j]), i, j) for i in range(3) for j in range(3) if i < j)
        if off[0] < 1e-300:
            break
        _, p, q = off
        theta = 0.5 * math.atan2(2 * t[p][q], t[q][q] - t[p][p])
        cs, sn = math.cos(theta), math.sin(theta)
        g = [[1.0 if i == j else 0.0 for j in range(3)] for i in range(3)]
        g[p][p], g[q][q], g[p][q], g[q][p] = cs, cs, sn, -sn
        gt = [[g[j][i] for j in range(3)] for i in range(3)]
        prod = lambda x, y: [[sum(x[i][k] * y[k][j] for k in range(3)) for j in range(3)] for i in range(3)]
        t = prod(gt, prod(t, g))
    return sorted(t[i][i] for i in range(3))

def report(name, atoms, masses):
    ia, ib, ic = moments(atoms, masses)
    print(name, "I =", repr(ia), repr(ib), repr(ic))
    print(name, "A B C MHz =", *(repr(F / i) for i in (ia, ib, ic)))

print("F =", repr(F))
# Water: O, H at 0.9572 on x, H at 0.9572 and 104.52 degrees from it (third record, J = 1).
r, a = 0.9572, math.radians(104.52)
report("water", [[0, 0, 0], [r, 0, 0], [r * math.cos(a), r * math.sin(a), 0]],
       [15.994915, 1.007825, 1.007825])
# Ammonia as the deck gives it: N, H on x, H at 106.67 degrees, H at 106.67 degrees and a
# dihedral of 113.718736 about N-H(2) from H(3).
r = 1.0124
atoms = [[0, 0, 0], [r, 0, 0], [r * math.cos(math.radians(106.67)), r * math.sin(math.radians(106.67)), 0]]
atoms.append(place(atoms, 0, 1, 2, r, 106.67, 113.718736))
report("ammonia", atoms, [14.003074, 1.007825, 1.007825, 1.007825])
