"""Low-poly mesh building for the game's models, and the X-file writer.

Model space is Direct3D's: left-handed, y up, the model standing on y = 0 and facing -z.
Triangles are written clockwise as seen from outside (Direct3D's front faces).

There is no light in the game: a mesh vertex shows its material's emissive colour. So the
shading is baked: every triangle is given one of a few brightness levels from its normal
against a fixed light from the upper front left, and each (colour, level) pair that a mesh
uses becomes one material whose emissive colour is the colour at that level.
"""
import math

# Toward the light, in model space: above, in front (-z) and to the left (-x).
LIGHT = (-0.35, 0.60, -0.72)
LEVELS = (1.0, 0.84, 0.69, 0.55)


def v_add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def v_sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def v_scale(a, k):
    return (a[0] * k, a[1] * k, a[2] * k)


def v_dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def v_cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def v_len(a):
    return math.sqrt(v_dot(a, a))


def v_norm(a):
    n = v_len(a)
    return (a[0] / n, a[1] / n, a[2] / n) if n > 0 else (0.0, 0.0, 0.0)


_L = v_norm(LIGHT)


def level_of(normal):
    """Brightness level index of a face with this outward normal."""
    d = max(0.0, v_dot(normal, _L))
    b = 0.55 + 0.5 * d
    best = 0
    for i, lv in enumerate(LEVELS):
        if abs(lv - b) < abs(LEVELS[best] - b):
            best = i
    return best


class Xf:
    """An affine transform: 3 x 3 linear part (rows) and a translation; points are columns."""

    def __init__(self, m=None, t=(0.0, 0.0, 0.0)):
        self.m = m or ((1.0, 0.0, 0.0), (0.0, 1.0, 0.0), (0.0, 0.0, 1.0))
        self.t = t

    def apply(self, p):
        m = self.m
        return (m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2] + self.t[0],
                m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2] + self.t[1],
                m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2] + self.t[2])

    def __mul__(self, o):
        """self * o: o first, then self."""
        a, b = self.m, o.m
        m = tuple(tuple(sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3))
                  for i in range(3))
        return Xf(m, self.apply(o.t))


def move(x, y, z):
    return Xf(t=(x, y, z))


def rot_x(deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return Xf(((1, 0, 0), (0, c, -s), (0, s, c)))


def rot_y(deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return Xf(((c, 0, s), (0, 1, 0), (-s, 0, c)))


def rot_z(deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return Xf(((c, -s, 0), (s, c, 0), (0, 0, 1)))


def scale(x, y, z):
    return Xf(((x, 0, 0), (0, y, 0), (0, 0, z)))


IDENTITY = Xf()


class Builder:
    """Collects triangles, each with a colour name (or a texture) and per-corner UVs."""

    def __init__(self, palette):
        self.palette = palette  # colour name -> (r, g, b) in 0..255
        self.tris = []          # (p0, p1, p2, key, uv0, uv1, uv2)

    def _emit(self, pts, key, uvs, centre):
        """Adds a convex polygon as a fan, wound outward from centre."""
        for i in range(1, len(pts) - 1):
            a, b, c = pts[0], pts[i], pts[i + 1]
            ua, ub, uc = (uvs[0], uvs[i], uvs[i + 1]) if uvs else ((0, 0), (0, 0), (0, 0))
            n = v_cross(v_sub(b, a), v_sub(c, a))
            if v_len(n) < 1e-9:
                continue
            mid = v_scale(v_add(v_add(a, b), c), 1.0 / 3.0)
            if v_dot(n, v_sub(mid, centre)) < 0:
                b, c, ub, uc = c, b, uc, ub
            self.tris.append((a, b, c, key, ua, ub, uc))

    def add(self, other, xf):
        """Another builder's triangles under xf (a uniform scale, turn and move)."""
        for a, b, c, key, ua, ub, uc in other.tris:
            self.tris.append((xf.apply(a), xf.apply(b), xf.apply(c), key, ua, ub, uc))

    def solid(self, faces, key, xf=IDENTITY, uv_faces=None, centre=None):
        """A convex solid from polygons in local space. key is a colour name, or a function of
        the polygon's index giving the name, or ('tex', name) for a textured material."""
        faces = [[xf.apply(p) for p in f] for f in faces]
        if centre is None:
            allp = [p for f in faces for p in f]
            centre = v_scale(tuple(map(sum, zip(*allp))), 1.0 / len(allp))
        for i, f in enumerate(faces):
            k = key(i, f) if callable(key) else key
            if k is None:
                continue
            self._emit(f, k, uv_faces[i] if uv_faces else None, centre)

    def loft(self, rings, key, xf=IDENTITY, caps=(True, True), face_key=None):
        """Side quads between consecutive rings (each a list of N points, bottom to top), and
        optional caps. face_key(kind, ring index, segment) may give a colour per face."""
        faces, kinds = [], []
        n = len(rings[0])
        for r in range(len(rings) - 1):
            lo, hi = rings[r], rings[r + 1]
            for s in range(n):
                t = (s + 1) % n
                faces.append([lo[s], lo[t], hi[t], hi[s]])
                kinds.append(("side", r, s))
        if caps[0]:
            faces.append(list(rings[0]))
            kinds.append(("bottom", 0, 0))
        if caps[1]:
            faces.append(list(rings[-1]))
            kinds.append(("top", len(rings) - 1, 0))
        if face_key:
            self.solid(faces, lambda i, f: face_key(*kinds[i]) or key, xf)
        else:
            self.solid(faces, key, xf)


def ring(y, rx, rz, n=8, phase=None, cx=0.0, cz=0.0):
    """n points on an ellipse at height y. With the default phase a flat side faces -z."""
    if phase is None:
        phase = 180.0 / n
    pts = []
    for i in range(n):
        a = math.radians(phase + 360.0 * i / n - 90.0)
        pts.append((cx + rx * math.cos(a), y, cz + rz * math.sin(a)))
    return pts


def squircle_ring(y, hw, hd, c, cx=0.0, cz=0.0):
    """A rectangle of half sizes hw, hd with its corners cut by c: eight points, the front
    edge (-z) first."""
    return [(cx - hw + c, y, cz - hd), (cx + hw - c, y, cz - hd), (cx + hw, y, cz - hd + c),
            (cx + hw, y, cz + hd - c), (cx + hw - c, y, cz + hd), (cx - hw + c, y, cz + hd),
            (cx - hw, y, cz + hd - c), (cx - hw, y, cz - hd + c)]


def box(b, key, lo, hi, xf=IDENTITY):
    x0, y0, z0 = lo
    x1, y1, z1 = hi
    rings = [[(x0, y0, z0), (x1, y0, z0), (x1, y0, z1), (x0, y0, z1)],
             [(x0, y1, z0), (x1, y1, z0), (x1, y1, z1), (x0, y1, z1)]]
    b.loft(rings, key, xf)


def cylinder(b, key, y0, y1, r0, r1, n=8, xf=IDENTITY, rz0=None, rz1=None, caps=(True, True)):
    """A frustum along y (r1 = 0 gives a cone)."""
    rz0 = r0 if rz0 is None else rz0
    rz1 = r1 if rz1 is None else rz1
    if r1 <= 0:
        bottom = ring(y0, r0, rz0, n)
        faces = [[bottom[i], bottom[(i + 1) % n], (0.0, y1, 0.0)] for i in range(n)]
        if caps[0]:
            faces.append(bottom)
        b.solid(faces, key, xf)
        return
    b.loft([ring(y0, r0, rz0, n), ring(y1, r1, rz1, n)], key, xf, caps)


def ellipsoid(b, key, centre, radii, n=8, stacks=5, xf=IDENTITY, squash_bottom=1.0):
    """A low-poly ellipsoid: rings of n points, polar caps as fans."""
    cx, cy, cz = centre
    rx, ry, rz = radii
    faces = []
    rings = []
    for k in range(1, stacks):
        phi = math.pi * k / stacks  # 0 at the top
        y = math.cos(phi) * ry * (squash_bottom if math.cos(phi) < 0 else 1.0)
        s = math.sin(phi)
        rings.append(ring(cy + y, rx * s, rz * s, n, cx=cx, cz=cz))
    top = (cx, cy + ry, cz)
    bottom = (cx, cy - ry * squash_bottom, cz)
    for i in range(n):
        j = (i + 1) % n
        faces.append([rings[0][i], rings[0][j], top])
        faces.append([rings[-1][j], rings[-1][i], bottom])
    for r in range(len(rings) - 1):
        for i in range(n):
            j = (i + 1) % n
            faces.append([rings[r][i], rings[r][j], rings[r + 1][j], rings[r + 1][i]])
    b.solid(faces, key, xf, centre=xf.apply(centre))


def limb(b, key, p0, p1, r0, r1, n=6):
    """A tapered cylinder from point p0 to p1."""
    d = v_sub(p1, p0)
    length = v_len(d)
    # Rotation taking +y onto d.
    y = v_norm(d)
    ref = (1.0, 0.0, 0.0) if abs(y[0]) < 0.9 else (0.0, 0.0, 1.0)
    x = v_norm(v_cross(y, ref))
    z = v_cross(x, y)
    m = ((x[0], y[0], z[0]), (x[1], y[1], z[1]), (x[2], y[2], z[2]))
    cylinder(b, key, 0.0, length, r0, r1, n, Xf(m, p0))


# ---- X file output ----------------------------------------------------------------------

def _f(v):
    s = "%.5f" % v
    if s == "-0.00000":
        s = "0.00000"
    return s


class Material:
    def __init__(self, rgb, level, texture=None):
        self.rgb = rgb
        self.level = level
        self.texture = texture

    def emissive(self):
        if self.texture:
            return (1.0, 1.0, 1.0)
        return tuple(min(1.0, c / 255.0 * LEVELS[self.level]) for c in self.rgb)

    def diffuse(self):
        if self.texture:
            return (1.0, 1.0, 1.0)
        return tuple(c / 255.0 for c in self.rgb)


def resolve(builder):
    """Materials and faces of a builder: a list of Material and of (p, p, p, uv, uv, uv, m),
    textured materials first (in order of first use), then colours in order of first use."""
    mats = {}
    order = []
    faces = []
    for a, b, c, key, ua, ub, uc in builder.tris:
        if isinstance(key, tuple) and key[0] == "tex":
            mkey = ("tex", key[1])
        else:
            n = v_norm(v_cross(v_sub(b, a), v_sub(c, a)))
            mkey = (key, level_of(n))
        if mkey not in mats:
            if mkey[0] == "tex":
                mats[mkey] = Material(None, 0, key[1])
            else:
                mats[mkey] = Material(builder.palette[key], mkey[1])
            order.append(mkey)
        faces.append((a, b, c, ua, ub, uc, mkey))
    tex_keys = [k for k in order if k[0] == "tex"]
    col_keys = [k for k in order if k[0] != "tex"]
    keys = tex_keys + col_keys
    index = {k: i for i, k in enumerate(keys)}
    faces.sort(key=lambda f: index[f[6]])  # stable: faces stay in build order per material
    return [mats[k] for k in keys], [(f[0], f[1], f[2], f[3], f[4], f[5], index[f[6]])
                                     for f in faces]


def write_x(builder, name):
    """The X file text of a builder's mesh."""
    mats, faces = resolve(builder)
    verts = []
    vindex = {}
    tri_idx = []

    def vid(p, uv):
        key = (_f(p[0]), _f(p[1]), _f(p[2]), "%.4f" % uv[0], "%.4f" % uv[1])
        if key not in vindex:
            vindex[key] = len(verts)
            verts.append(key)
        return vindex[key]

    for a, b, c, ua, ub, uc, m in faces:
        tri_idx.append((vid(a, ua), vid(b, ub), vid(c, uc), m))

    out = ["xof 0303txt 0032", ""]
    out.append("Mesh %s {" % name)
    out.append(" %d;" % len(verts))
    for i, v in enumerate(verts):
        out.append(" %s;%s;%s;%s" % (v[0], v[1], v[2], ";" if i == len(verts) - 1 else ","))
    out.append(" %d;" % len(tri_idx))
    for i, t in enumerate(tri_idx):
        out.append(" 3;%d,%d,%d;%s" % (t[0], t[1], t[2], ";" if i == len(tri_idx) - 1 else ","))
    out.append(" MeshMaterialList {")
    out.append("  %d;" % len(mats))
    out.append("  %d;" % len(tri_idx))
    for i, t in enumerate(tri_idx):
        out.append("  %d%s" % (t[3], ";;" if i == len(tri_idx) - 1 else ","))
    for m in mats:
        d = m.diffuse()
        e = m.emissive()
        out.append("  Material {")
        out.append("   %s;%s;%s;1.00000;;" % (_f(d[0]), _f(d[1]), _f(d[2])))
        out.append("   0.00000;")
        out.append("   0.00000;0.00000;0.00000;;")
        out.append("   %s;%s;%s;;" % (_f(e[0]), _f(e[1]), _f(e[2])))
        if m.texture:
            out.append('   TextureFilename { "%s"; }' % m.texture)
        out.append("  }")
    out.append(" }")
    out.append(" MeshTextureCoords {")
    out.append("  %d;" % len(verts))
    for i, v in enumerate(verts):
        out.append("  %s;%s;%s" % (v[3], v[4], ";" if i == len(verts) - 1 else ","))
    out.append(" }")
    out.append("}")
    pts = [p for f in faces for p in f[:3]]
    size = [max(p[k] for p in pts) - min(p[k] for p in pts) for k in range(3)]
    stats = {"width": size[0], "height": size[1], "depth": size[2], "vertices": len(verts), "triangles": len(tri_idx), "materials": len(mats),
             "textures": [m.texture for m in mats if m.texture]}
    return "\n".join(out) + "\n", stats
