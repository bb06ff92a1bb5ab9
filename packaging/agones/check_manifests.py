#!/usr/bin/env python3
"""Checks that the Agones manifests parse and carry what Agones requires."""
import sys
from pathlib import Path

import yaml

here = Path(__file__).resolve().parent
problems = []


def need(doc, path, expected=None):
    node = doc
    for key in path.split("."):
        if isinstance(node, list):
            node = node[int(key)] if key.isdigit() and int(key) < len(node) else None
        elif isinstance(node, dict):
            node = node.get(key)
        else:
            node = None
        if node is None:
            problems.append(f"{doc.get('kind')}: {path} is missing")
            return None
    if expected is not None and node != expected:
        problems.append(f"{doc.get('kind')}: {path} is {node!r}, not {expected!r}")
    return node


fleet = yaml.safe_load((here / "fleet.yaml").read_text())
need(fleet, "apiVersion", "agones.dev/v1")
need(fleet, "kind", "Fleet")
need(fleet, "metadata.name")
port = need(fleet, "spec.template.spec.ports.0") or {}
need(fleet, "spec.template.spec.ports.0.portPolicy", "Dynamic")
need(fleet, "spec.template.spec.ports.0.containerPort", 2727)
need(fleet, "spec.template.spec.ports.0.protocol", "UDP")
period = need(fleet, "spec.template.spec.health.periodSeconds")
if isinstance(period, int) and period < 2:
    problems.append("Fleet: the health period is shorter than the server's 2 s ping")
need(fleet, "spec.template.spec.health.failureThreshold")
need(fleet, "spec.template.spec.template.spec.containers.0.image")

scaler = yaml.safe_load((here / "fleetautoscaler.yaml").read_text())
need(scaler, "apiVersion", "autoscaling.agones.dev/v1")
need(scaler, "kind", "FleetAutoscaler")
need(scaler, "spec.fleetName", fleet["metadata"]["name"])
need(scaler, "spec.policy.type", "Buffer")
need(scaler, "spec.policy.buffer.bufferSize")
need(scaler, "spec.policy.buffer.maxReplicas")

for p in problems:
    print(p)
sys.exit(1 if problems else 0)
