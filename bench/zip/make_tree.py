"""Generates a game-like tree for the ZIP benchmark: about 300 MB in about 3000 files, half
compressible level data, half random bytes, Chinese names, nested folders. Deterministic."""
import os
import random
import sys

TOTAL_BYTES = 300 * 1024 * 1024
FILE_COUNT = 3000
FOLDERS = ["地图", "纹理", "模型", "音效", "粒子", "场景", "英雄", "特效"]
WORDS = [b"vertex", b"normal", b"texture", b"0.125", b"-3.5", b"mesh", b"bone", b"frame",
         b"particle", b"emitter", b"\xe5\x9c\xb0\xe5\x9b\xbe", b"layer", b"1024", b"alpha"]


def text_base(rng, size):
    parts, length = [], 0
    while length < size:
        line = b" ".join(rng.choice(WORDS) for _ in range(rng.randint(3, 12))) + b"\n"
        parts.append(line)
        length += len(line)
    return b"".join(parts)[:size]


def main(root):
    rng = random.Random(20240611)
    base = text_base(rng, 4 * 1024 * 1024)
    sizes = [rng.lognormvariate(0, 1.2) for _ in range(FILE_COUNT)]
    scale = TOTAL_BYTES / sum(sizes)
    for index, weight in enumerate(sizes):
        depth = rng.randint(1, 4)
        folder = os.path.join(root, *(rng.choice(FOLDERS) + str(rng.randint(1, 6)) for _ in range(depth)))
        os.makedirs(folder, exist_ok=True)
        size = max(1, int(weight * scale))
        if index % 2:
            data = os.urandom(size)
            name = f"资源{index:04d}.bin"
        else:
            chunks, length = [], 0
            while length < size:
                start = rng.randrange(0, len(base) - 65536)
                piece = base[start:start + min(65536, size - length)]
                chunks.append(piece)
                length += len(piece)
            data = b"".join(chunks)
            name = f"关卡{index:04d}.txt"
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
