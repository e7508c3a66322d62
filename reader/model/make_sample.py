#!/usr/bin/python3
"""Writes the fixed sample the tests run the shipped network on
(reader/tests/digit_sample.bin): 40 held-out MNIST digits, each as the raw
ink NormaliseDigit takes (28 x 28 bytes) and the probabilities this
script's network gives for the normalised picture.

  reader/model/make_sample.py MNIST_DIGITS_DIR reader/model/digits.weights reader/tests/digit_sample.bin

Format: "TVDS", a count (little-endian 32 bits), then per digit its label
(a byte), 784 bytes of ink (0 paper to 255 ink) and 11 little-endian
32-bit floats."""
import struct
import sys

import numpy as np
import torch

import train_digits as t


def read_weights(net, path):
    data = open(path, "rb").read()
    assert data[:4] == b"TVDN"
    at = 8
    for layer in [net.c1, net.c2, net.c3, net.f1, net.f2]:
        for p in [layer.weight, layer.bias]:
            (n,) = struct.unpack_from("<I", data, at)
            at += 4
            values = np.frombuffer(data, "<f4", n, at)
            at += 4 * n
            p.data = torch.from_numpy(values.copy()).reshape(p.shape)


def main():
    images, labels = t.load_mnist(sys.argv[1])
    net = t.Net()
    read_weights(net, sys.argv[2])
    net.eval()
    picks = list(range(len(images) - 1000, len(images), 25))
    with open(sys.argv[3], "wb") as f:
        f.write(b"TVDS")
        f.write(struct.pack("<I", len(picks)))
        for k in picks:
            raw = np.round(images[k] * 255).astype(np.uint8)
            x = torch.from_numpy(t.normalise(raw.astype(np.float32) / 255))[None, None].float()
            with torch.no_grad():
                odds = torch.softmax(net(x), 1)[0].numpy().astype("<f4")
            f.write(bytes([labels[k]]))
            f.write(raw.tobytes())
            f.write(odds.tobytes())


if __name__ == "__main__":
    main()
